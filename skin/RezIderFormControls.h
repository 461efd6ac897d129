// Control discovery: when a window is taken over, the skinned form finds the controls inside it and
// gives each the matching skinned-control object. A toolkit form is walked by its owned components
// and each is decided by its class, its class name, the skin component's OnSkinControl event and
// its Skin3rd list; a bare window is walked by its child windows and decided by window class.
// The module fills in the form's discovery hooks when it starts.
#pragma once

#include <windows.h>

#include <string>

class TComponent;
class TWinControl;
class TSkinControl;
class TRezIderFormImpl;

// PurgeControls, then SkinChildren for every component Container owns (index 0 upward).
void SkinFormControls(TRezIderFormImpl* Form, TWinControl* Container);
// Decides and skins one component C that Container owns.
void SkinChildren(TRezIderFormImpl* Form, TComponent* C, TWinControl* Container);
// True when C is registered already (by component or by handle), or cannot be told apart from a
// print preview's page.
bool IsPrintPreview(TRezIderFormImpl* Form, TComponent* C);
// True whenever the skin component's Skin3rd list names the class (UpperName, C's class name in
// upper case), whatever the kind; the kind's skin is applied when its gate is on.
bool SkinByType(TRezIderFormImpl* Form, const std::string& UpperName, TComponent* C);
// C draws its own scroll bars or is one of the toolkit's scrolling kinds.
bool IsScrollingControl(TComponent* C);
// SkinByWindowClass for every child window of the form's window that has WS_CHILD.
void SkinChildWindows(TRezIderFormImpl* Form);
// The first registered control whose window is Window, or nullptr.
TSkinControl* FindControlByHandle(TRezIderFormImpl* Form, HWND Window);
// Gives a bare child window the skinned control its window class and style call for.
void SkinByWindowClass(TRezIderFormImpl* Form, HWND Window);

// The skinned form: the engine object that takes one top-level window over. This holds what the
// skin manager drives; the takeover, window procedure and painting live with the implementation,
// which derives from TRezIderForm and sets RezIderFormMaker.
#pragma once

#include <windows.h>

#include <cstdint>

#include "skin/RezIderFormDraw.h"
#include "tk/Classes.h"
#include "tk/Graphics.h"

class TSkinData;
class TCustomForm;

// The off-screen picture the menu bar and the frame painting compose into; made with the module,
// its canvas in COLORONCOLOR stretch mode.
extern TBitmap* SharedBitmap;

// FState values.
enum : uint32_t {
  fsCreated = 0,
  fsSkinned = 1,
  fsRefreshing = 3,
  fsDestroying = 4,
  fsFirstSizing = 5,
  fsGone = 6,  // the window is gone; the manager's purge frees the object
};
// FMdiKind values.
enum : uint8_t { mkNone = 0, mkFrame = 1, mkChild = 2 };
// FShowState values.
enum : uint8_t { ssNormal = 0, ssMaximized = 1, ssMinimized = 2 };

class TRezIderForm : public TComponent {
 public:
  TK_CLASS(TRezIderForm, TComponent)
  explicit TRezIderForm(TComponent* AOwner) : TComponent(AOwner) {}
  // Leaves the manager's list.
  ~TRezIderForm() override;

  // The takeover of a toolkit form, and of a bare window.
  virtual void AttachForm(TSkinData* Data, TCustomForm* Form) = 0;
  virtual void SkinForm(TSkinData* Data) = 0;
  // Gives the window back (skin off); the manager frees the object afterwards.
  virtual void UnskinForm() = 0;
  virtual void FreeNCObjects() = 0;
  virtual void LoadSkinParts() = 0;
  virtual void RefreshSkin() = 0;
  virtual void SetCaptionStyles(bool On) = 0;
  virtual void UpdateRegion() = 0;

  // SetWindowRgn with the skin region. After success the system owns the region: it is kept
  // only as a reference and never deleted here; a refused region is deleted at once.
  void SetSkinRegion(HRGN Region, bool Redraw);
  // Takes the skin region off the window without a redraw, when the skin set one (the system
  // deletes it).
  virtual void ClearRegion();
  void FrameChanged();
  static void RepaintWindow(HWND Window);

  HWND FHandle = nullptr;
  TSkinData* FSkinData = nullptr;
  uint32_t FState = fsCreated;
  uint8_t FMdiKind = mkNone;
  uint8_t FShowState = ssNormal;
  bool FHasRegion = false;
  HRGN FRegion = nullptr;  // the window's region while FHasRegion; owned by the system

 protected:
  // Takes any region off the window (the system deletes it) and forgets the skin's.
  void RemoveRegion(bool Redraw);
};

// Makes the skinned-form object the manager attaches to a window; none until the implementation
// is linked in, and then the manager skins nothing.
using TRezIderFormMaker = TRezIderForm* (*)(TComponent* AOwner);
extern TRezIderFormMaker RezIderFormMaker;

// The reader's message in the Windows build: the toolkit's plain message box, with the application's
// title, the text and an OK button.
#include <string>

#include "skin/SkinRead.h"
#include "tk/Dialogs.h"
#include "tk/Forms.h"

void DefaultSkinReaderMessage(const std::string& Text) { TaskMessageBox(Text, Application->Title(), MB_OK); }

#include "skin/RezIderMenu.h"

TRezIderPopMenuMaker RezIderPopMenuMaker = nullptr;

// The reader's message in the host build, which has no screen: it goes to standard error.
#include <cstdio>
#include <string>

#include "skin/SkinRead.h"

void DefaultSkinReaderMessage(const std::string& Text) { std::fprintf(stderr, "%s\n", Text.c_str()); }

#include "library/EditorFile.h"

std::string g_strEditCurrentFile;

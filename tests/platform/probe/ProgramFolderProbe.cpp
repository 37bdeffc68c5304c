// Prints the program folder as the running program sees it.
#include <cstdio>

#include "system/Folders.h"

int main() {
  std::fputs(GetProgramFolder().toUtf8().constData(), stdout);
  return 0;
}

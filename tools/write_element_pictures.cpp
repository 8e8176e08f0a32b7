// Writes the editor's pictures as BMP files into the folder given as the one
// argument (the build puts them into Pictures/ beside the executable).

#include <cstdio>

#include "ui/element_pictures.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s DIRECTORY\n", argv[0]);
    return 2;
  }
  return ohmara::WriteElementPictures(QString::fromLocal8Bit(argv[1])) ? 0 : 1;
}

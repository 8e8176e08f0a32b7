#pragma once
// The eleven pictures of the circuit editor: the sheet background and the
// element symbols (resistor, inductor, capacitor, source) for horizontal and
// vertical branches.
//
// A picture is read from "Pictures/<name>" in the current directory, else
// from "Pictures/<name>" beside the executable, else from the installed
// share folder, else the program draws it itself, so the editor never shows
// a blank sheet, wherever it is started from. The drawn pictures are the same ones the build writes beside the
// executable.

#include <QImage>
#include <QString>
#include <QStringList>

namespace ohmara {

// The file names, exactly as the scheme of the editor names them (Linux file
// names are case-sensitive).
QStringList ElementPictureNames();

// The program's own drawing of the picture `name` (one of the names above);
// a null image for any other name.
QImage DrawElementPicture(const QString& name);

// The picture `name`, looked up as described above.
QImage LoadElementPicture(const QString& name, const QString& executableDirectory);

// Writes every drawn picture as a BMP file into `directory`; false when one
// could not be written.
bool WriteElementPictures(const QString& directory);

}  // namespace ohmara

#pragma once
// How a failed command is worded for the student.

#include <QString>
#include <exception>
#include <string>
#include <vector>

#include "model/safe_save.h"

namespace ohmara {

// A typed or read text as it stands between quotes in a message: short, its
// control characters escaped.
QString QuotedText(const std::string& text);
QString QuotedText(const QString& text);

// The text of the error box for an exception that escaped a command.
QString ErrorMessage(const std::exception& error);

// The text telling why a save of the student's file failed, naming it.
QString SaveProblemText(SaveProblem problem, const QString& fileName, SavedFile kind = SavedFile::Other);

// The text telling which results files could not be written.
QString UnwrittenFilesMessage(const std::vector<std::string>& files, const QString& directory);

}  // namespace ohmara

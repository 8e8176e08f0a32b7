#pragma once
// The three forms `ohmara solve` prints an answer in: the windows' texts
// (text), one JSON document (json) and one row per value (csv). Numbers in
// JSON and CSV are written at full precision, shortest form that reads back
// to the same double, whatever the locale.

#include <string>

#include "cli/circuit_answer.h"
#include "cli/command_line.h"

namespace ohmara {

std::string AnswerText(const CircuitAnswer& answer, const FrequencySetting& frequency);
std::string AnswerJson(const CircuitAnswer& answer, const FrequencySetting& frequency);
std::string AnswerCsv(const CircuitAnswer& answer);

std::string FormatAnswer(const CircuitAnswer& answer, const FrequencySetting& frequency, OutputFormat format);

}  // namespace ohmara

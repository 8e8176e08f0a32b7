// The strict number conversion: a text is a finite number or a refusal that
// quotes it; an accepted text means what the C library reads in it.

#include <clocale>
#include <cmath>
#include <cstdlib>
#include <string>

#include "fuzz_check.h"
#include "model/errors.h"
#include "model/number_text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace ohmara;
  const std::string text(reinterpret_cast<const char*>(data), size);
  try {
    const double value = FieldToFloat(text, "Поле");
    FUZZ_CHECK(std::isfinite(value), "an accepted number is finite");
    std::string plain = text;
    for (char& c : plain)
      if (c == ',') c = '.';
    FUZZ_CHECK(std::strtod(plain.c_str(), nullptr) == value, "the value is the text's own");
  } catch (const ConversionError& error) {
    FUZZ_CHECK(std::string(error.what()).rfind("Поле: ", 0) == 0, "a refusal says where");
    FUZZ_CHECK(error.Text() == text, "a refusal quotes the text");
  }
  try {
    StrToInt(text);
  } catch (const ConversionError& error) {
    FUZZ_CHECK(error.NumberKind() == ConversionError::Kind::Integer, "an integer refusal says so");
  }
  return 0;
}

#include "cli/answer_formats.h"

#include <charconv>

#include "analysis/mesh_current.h"
#include "analysis/node_potential.h"
#include "model/install_paths.h"

namespace ohmara {

namespace {

std::string FrequencyText(const FrequencySetting& frequency) {
  return frequency.text + " " + UnitName(frequency.unitIndex);
}

std::string Number(double value) {
  char buffer[32];
  const auto end = std::to_chars(buffer, buffer + sizeof buffer, value).ptr;
  return std::string(buffer, end);
}

// ---- text ----

void AddBlock(std::string& text, const ShownBlock& block) {
  text += block.caption + ":\n";
  for (const std::string& line : block.lines) text += "  " + line + "\n";
}

// ---- JSON ----

std::string JsonString(const std::string& text) {
  std::string quoted = "\"";
  for (unsigned char c : text) {
    if (c == '"' || c == '\\') {
      quoted += '\\';
      quoted += static_cast<char>(c);
    } else if (c < 0x20) {
      static const char kHex[] = "0123456789abcdef";
      quoted += "\\u00";
      quoted += kHex[c >> 4];
      quoted += kHex[c & 15];
    } else {
      quoted += static_cast<char>(c);
    }
  }
  return quoted + "\"";
}

std::string JsonComplex(Complex value) {
  return "{\"re\": " + Number(value.re) + ", \"im\": " + Number(value.im) + "}";
}

template <class Items, class Item>
std::string JsonList(const Items& items, Item item, const std::string& indent) {
  if (items.empty()) return "[]";
  std::string text = "[\n";
  for (size_t k = 0; k < items.size(); ++k) text += indent + "  " + item(k) + (k + 1 < items.size() ? ",\n" : "\n");
  return text + indent + "]";
}

std::string JsonMethod(const CircuitAnswer& answer, const MethodAnswer& method) {
  const std::string in = "      ";
  std::string text = "{\n" + in + "\"method\": " + JsonString(MethodName(method.method)) + ",\n";
  if (method.method == Method::Mesh)
    text += in + "\"loop_currents\": " +
            JsonList(
                method.loopCurrents,
                [&](size_t k) {
                  return "{\"name\": " + JsonString(LoopCurrentName(static_cast<int>(k))) +
                         ", \"value\": " + JsonComplex(method.loopCurrents[k]) + "}";
                },
                in) +
            ",\n";
  else
    text += in + "\"zero_node\": " + std::to_string(answer.zeroNode) + ",\n" + in + "\"node_potentials\": " +
            JsonList(
                method.potentials,
                [&](size_t k) {
                  return "{\"node\": " + std::to_string(method.nodes[k]) +
                         ", \"value\": " + JsonComplex(method.potentials[k]) + "}";
                },
                in) +
            ",\n";
  text += in + "\"branch_currents\": " +
          JsonList(
              method.branchCurrents,
              [&](size_t k) {
                return "{\"branch\": " + JsonString(answer.branchNames[k]) +
                       ", \"value\": " + JsonComplex(method.branchCurrents[k]) + "}";
              },
              in) +
          ",\n";
  text += in + "\"power\": {\"source\": " + JsonComplex(method.sourcePower) +
          ", \"consumed\": " + JsonComplex(method.consumedPower) + "}\n";
  return text + "    }";
}

std::string JsonLoop(const CircuitAnswer& answer, const std::vector<LoopStep>& loop) {
  std::string text = "[";
  for (size_t k = 0; k < loop.size(); ++k)
    text += std::string(k ? ", " : "") + "{\"branch\": " + JsonString(answer.branchNames[loop[k].branch]) +
            ", \"direction\": " + std::to_string(loop[k].direction) + "}";
  return text + "]";
}

// ---- CSV ----

std::string CsvRow(const char* method, const char* quantity, const std::string& name, Complex value) {
  // Names are branch names, loop and node labels: no comma or quote can occur.
  return std::string(method) + "," + quantity + "," + name + "," + Number(value.re) + "," + Number(value.im) + "\n";
}

}  // namespace

std::string AnswerText(const CircuitAnswer& answer, const FrequencySetting& frequency) {
  std::string text =
      "Частота " + FrequencyText(frequency) + ", узел с нулевым потенциалом " + std::to_string(answer.zeroNode) + ".\n";
  text +=
      "Ветвей m = " + std::to_string(answer.realBranches) + ", узлов n = " + std::to_string(answer.realNodes) + ".\n";
  AddBlock(text, {"Контуры", answer.loopLines});
  for (const MethodAnswer& method : answer.methods) {
    text += std::string("\n") + MethodTitle(method.method) + "\n";
    for (const ShownBlock& block : method.shown) AddBlock(text, block);
  }
  return text;
}

std::string AnswerJson(const CircuitAnswer& answer, const FrequencySetting& frequency) {
  std::string text = "{\n";
  text += "  \"program\": \"ohmara\",\n  \"version\": " + JsonString(OhmaraVersion()) + ",\n";
  text += "  \"frequency\": {\"text\": " + JsonString(frequency.text) +
          ", \"unit\": " + JsonString(UnitName(frequency.unitIndex)) +
          ", \"omega\": " + Number(AngularFrequency(frequency)) + "},\n";
  text += "  \"zero_node\": " + std::to_string(answer.zeroNode) + ",\n";
  text +=
      "  \"branches\": " +
      JsonList(
          answer.branchNames, [&](size_t k) { return "{\"name\": " + JsonString(answer.branchNames[k]) + "}"; }, "  ") +
      ",\n";
  text += "  \"real_branches\": " + std::to_string(answer.realBranches) + ",\n";
  text += "  \"real_nodes\": " + std::to_string(answer.realNodes) + ",\n";
  text += "  \"junctions\": [";
  for (size_t k = 0; k < answer.junctions.size(); ++k) text += (k ? ", " : "") + std::to_string(answer.junctions[k]);
  text += "],\n";
  text += "  \"loops\": " +
          JsonList(
              answer.loops, [&](size_t k) { return JsonLoop(answer, answer.loops[k]); }, "  ") +
          ",\n";
  text += "  \"methods\": " +
          JsonList(
              answer.methods, [&](size_t k) { return JsonMethod(answer, answer.methods[k]); }, "  ") +
          ",\n";
  text += "  \"notes\": " +
          JsonList(
              answer.notes, [&](size_t k) { return JsonString(answer.notes[k]); }, "  ") +
          "\n";
  return text + "}\n";
}

std::string AnswerCsv(const CircuitAnswer& answer) {
  std::string text = "method,quantity,name,re,im\n";
  for (const MethodAnswer& method : answer.methods) {
    const char* name = MethodName(method.method);
    for (size_t k = 0; k < method.loopCurrents.size(); ++k)
      text += CsvRow(name, "loop_current", LoopCurrentName(static_cast<int>(k)), method.loopCurrents[k]);
    for (size_t k = 0; k < method.potentials.size(); ++k)
      text += CsvRow(name, "node_potential", PotentialName(method.nodes[k]), method.potentials[k]);
    for (size_t k = 0; k < method.branchCurrents.size(); ++k)
      text += CsvRow(name, "branch_current", answer.branchNames[k], method.branchCurrents[k]);
    text += CsvRow(name, "power_source", "", method.sourcePower);
    text += CsvRow(name, "power_consumed", "", method.consumedPower);
  }
  return text;
}

std::string FormatAnswer(const CircuitAnswer& answer, const FrequencySetting& frequency, OutputFormat format) {
  switch (format) {
    case OutputFormat::Json:
      return AnswerJson(answer, frequency);
    case OutputFormat::Csv:
      return AnswerCsv(answer);
    case OutputFormat::Text:
      break;
  }
  return AnswerText(answer, frequency);
}

}  // namespace ohmara

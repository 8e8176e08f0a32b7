#include "cli/command_line.h"

#include <algorithm>
#include <charconv>

#include "model/quoted_text.h"
#include "model/text_format.h"

namespace ohmara {

namespace {

const OptionSpec kFrequency{"frequency", 'f', "ЧИСЛО", "частота (по умолчанию 15)"};
const OptionSpec kUnit{"unit", 'u', "ЕДИНИЦА", "единица частоты: Гц, кГц или МГц (или Hz, kHz, MHz; по умолчанию Гц)"};
const OptionSpec kZero{"zero", 'z', "УЗЕЛ", "узел с нулевым потенциалом (по умолчанию 3)"};
const OptionSpec kMethod{"method", 'm', "МЕТОД",
                         "mesh (контурные токи), nodal (узловые потенциалы), optimal (оптимальный) или all"};
const OptionSpec kHelp{"help", 'h', nullptr, "показать эту справку и выйти"};

std::string Quoted(const std::string& text) { return Format("«%s»", QuotedText(text)); }

const OptionSpec& FindOption(const CommandSpec& command, const std::string& word, bool isLong) {
  for (const OptionSpec& option : command.options)
    if (isLong ? word == option.longName : option.shortName && word.size() == 1 && word[0] == option.shortName)
      return option;
  throw UsageError("неизвестный параметр " + Quoted((isLong ? "--" : "-") + word) + " команды " + command.name);
}

int ReadInteger(const std::string& text, const char* option) {
  int value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size())
    throw UsageError("--" + std::string(option) + ": " + Quoted(text) + " - не целое число");
  return value;
}

int ReadUnit(const std::string& text) {
  const std::vector<std::vector<std::string>> spellings = {
      {"Гц", "Hz", "hz"}, {"кГц", "kHz", "khz"}, {"МГц", "MHz", "mhz"}, {"рад/с", "rad/s"}};
  for (size_t index = 0; index < spellings.size(); ++index)
    if (std::find(spellings[index].begin(), spellings[index].end(), text) != spellings[index].end())
      return static_cast<int>(index);
  throw UsageError("--unit: " + Quoted(text) + " - не единица частоты (Гц, кГц или МГц)");
}

std::vector<Method> ReadMethods(const std::string& text) {
  if (text == "all") return {Method::Mesh, Method::Nodal, Method::Optimal};
  for (Method method : {Method::Mesh, Method::Nodal, Method::Optimal})
    if (text == MethodName(method)) return {method};
  throw UsageError("--method: " + Quoted(text) + " - нет такого метода (mesh, nodal, optimal или all)");
}

OutputFormat ReadFormat(const std::string& text) {
  if (text == "text") return OutputFormat::Text;
  if (text == "json") return OutputFormat::Json;
  if (text == "csv") return OutputFormat::Csv;
  throw UsageError("--format: " + Quoted(text) + " - нет такого формата (text, json или csv)");
}

CircuitRequest ReadCircuitRequest(const ParsedArguments& arguments) {
  CircuitRequest request;
  request.tableFile = arguments.operands.at(0);
  if (auto frequency = arguments.Option("frequency")) request.frequency.text = *frequency;
  if (auto unit = arguments.Option("unit")) request.frequency.unitIndex = ReadUnit(*unit);
  if (auto zero = arguments.Option("zero")) request.zeroNode = ReadInteger(*zero, "zero");
  return request;
}

int OperandCount(const CommandSpec& command) {
  const std::string operands = command.operands;
  return operands.empty() ? 0 : static_cast<int>(std::count(operands.begin(), operands.end(), ' ')) + 1;
}

// Reads one option word (and its value, from the word or the next one).
size_t ReadOption(const CommandSpec& command, const std::vector<std::string>& words, size_t at,
                  ParsedArguments& parsed) {
  const std::string& word = words[at];
  const bool isLong = word.rfind("--", 0) == 0;
  std::string name = word.substr(isLong ? 2 : 1);
  std::optional<std::string> attached;
  if (isLong) {
    if (size_t equals = name.find('='); equals != std::string::npos) {
      attached = name.substr(equals + 1);
      name.resize(equals);
    }
  } else if (name.size() > 1) {
    attached = name.substr(1);
    name.resize(1);
  }
  const OptionSpec& option = FindOption(command, name, isLong);
  if (!option.valueName) {
    if (attached) throw UsageError("параметр --" + std::string(option.longName) + " не принимает значения");
    parsed.options.emplace_back(option.longName, "");
    return at;
  }
  if (!attached) {
    if (at + 1 >= words.size()) throw UsageError("параметру --" + std::string(option.longName) + " нужно значение");
    attached = words[++at];
  }
  parsed.options.emplace_back(option.longName, *attached);
  return at;
}

// Columns a UTF-8 text takes in a terminal: one per character.
size_t Columns(const std::string& text) {
  return static_cast<size_t>(std::count_if(text.begin(), text.end(), [](char c) { return (c & 0xC0) != 0x80; }));
}

std::string OptionLine(const OptionSpec& option) {
  std::string line = "  ";
  // Appended piece by piece: GCC 12 at -O3 takes "-" + text for overlapping copies.
  if (option.shortName) line.append("-").append(1, option.shortName).append(", ");
  else line.append("    ");
  line.append("--").append(option.longName);
  if (option.valueName) line.append(" ").append(option.valueName);
  constexpr size_t kHelpColumn = 28;
  const size_t width = Columns(line);
  line.append(width < kHelpColumn ? kHelpColumn - width : 1, ' ');
  return line + option.help + "\n";
}

}  // namespace

const std::vector<CommandSpec>& Commands() {
  static const std::vector<CommandSpec> commands = {
      {"solve",
       "ТАБЛИЦА",
       "проверить цепь из файла таблицы ветвей и рассчитать её; результаты - в стандартный вывод",
       {kFrequency, kUnit, kZero, kMethod, {"format", 0, "ФОРМАТ", "text, json или csv (по умолчанию text)"}, kHelp}},
      {"export-spice",
       "ТАБЛИЦА",
       "проверить цепь и записать её список соединений SPICE",
       {kFrequency, kUnit, kZero, {"output", 'o', "ФАЙЛ", "куда записать (по умолчанию - стандартный вывод)"}, kHelp}},
      {"report",
       "ТАБЛИЦА",
       "проверить цепь, рассчитать её и записать отчёт в PDF",
       {kFrequency,
        kUnit,
        kZero,
        kMethod,
        {"output", 'o', "ФАЙЛ", "файл PDF отчёта (обязателен)"},
        {"scheme", 0, "ФАЙЛ", "чертёж из файла схемы редактора (по умолчанию - чертёж по таблице)"},
        kHelp}},
      {"variants",
       "",
       "составить варианты для группы: файлы таблиц ветвей, variants.pdf и answers.pdf",
       {{"count", 'n', "ЧИСЛО", "число вариантов, от 1 до 200 (по умолчанию 30)"},
        {"first", 0, "НОМЕР", "номер первого варианта (по умолчанию 1)"},
        {"seed", 's', "ЧИСЛО", "начальное число случайного выбора: те же параметры дают те же варианты"},
        {"loops", 'k', "K", "число контуров, от 2 до 9 (по умолчанию 3)"},
        {"points", 'p', "P", "число точек, от 4 до 19 (по умолчанию 6)"},
        {"frequency", 'f', "ЧИСЛО", "частота (по умолчанию 50)"},
        kUnit,
        {"zero", 'z', "УЗЕЛ",
         "узел с нулевым потенциалом или any - любой узел, где сходятся три ветви (по умолчанию any)"},
        kMethod,
        {"output", 'o', "ПАПКА", "папка, куда записать варианты (обязательна)"},
        kHelp}},
  };
  return commands;
}

const CommandSpec& FindCommand(const std::string& name) {
  for (const CommandSpec& command : Commands())
    if (name == command.name) return command;
  throw UsageError("неизвестная команда " + Quoted(name));
}

std::optional<std::string> ParsedArguments::Option(const std::string& name) const {
  for (auto it = options.rbegin(); it != options.rend(); ++it)
    if (it->first == name) return it->second;
  return std::nullopt;
}

ParsedArguments ParseArguments(const std::vector<std::string>& words) {
  if (words.empty()) throw UsageError("не указана команда");
  if (words[0] == "--help" || words[0] == "-h") return {"help", {}, {}, false};
  if (words[0] == "--version") return {"version", {}, {}, false};
  const CommandSpec& command = FindCommand(words[0]);
  ParsedArguments parsed{command.name, {}, {}, false};
  bool optionsEnded = false;
  for (size_t at = 1; at < words.size(); ++at) {
    const std::string& word = words[at];
    if (optionsEnded || word == "-" || word.empty() || word[0] != '-') parsed.operands.push_back(word);
    else if (word == "--") optionsEnded = true;
    else at = ReadOption(command, words, at, parsed);
  }
  if (parsed.Option("help")) return {command.name, {}, {}, true};
  const int expected = OperandCount(command);
  if (static_cast<int>(parsed.operands.size()) != expected)
    throw UsageError("команде " + std::string(command.name) + " нужно: " + command.operands);
  return parsed;
}

namespace {

std::string RequiredOutput(const ParsedArguments& arguments) {
  auto output = arguments.Option("output");
  if (!output || output->empty()) throw UsageError("команде " + arguments.command + " нужен параметр --output (-o)");
  return *output;
}

std::uint64_t ReadSeed(const std::string& text) {
  std::uint64_t value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size())
    throw UsageError("--seed: " + Quoted(text) + " - не целое неотрицательное число");
  return value;
}

}  // namespace

ReportRequest ReadReportRequest(const ParsedArguments& arguments) {
  ReportRequest request;
  request.circuit = ReadCircuitRequest(arguments);
  if (auto method = arguments.Option("method")) request.methods = ReadMethods(*method);
  request.output = RequiredOutput(arguments);
  if (auto scheme = arguments.Option("scheme")) request.scheme = *scheme;
  return request;
}

VariantsRequest ReadVariantsRequest(const ParsedArguments& arguments) {
  VariantsRequest request;
  VariantSettings& settings = request.settings;
  if (auto count = arguments.Option("count")) settings.count = ReadInteger(*count, "count");
  if (auto first = arguments.Option("first")) settings.firstNumber = ReadInteger(*first, "first");
  if (auto seed = arguments.Option("seed")) settings.seed = ReadSeed(*seed);
  if (auto loops = arguments.Option("loops")) settings.loops = ReadInteger(*loops, "loops");
  if (auto points = arguments.Option("points")) settings.points = ReadInteger(*points, "points");
  if (auto frequency = arguments.Option("frequency")) settings.frequency.text = *frequency;
  if (auto unit = arguments.Option("unit")) settings.frequency.unitIndex = ReadUnit(*unit);
  if (auto zero = arguments.Option("zero"); zero && *zero != "any") settings.zeroNode = ReadInteger(*zero, "zero");
  if (auto method = arguments.Option("method")) settings.methods = ReadMethods(*method);
  if (auto problem = VariantSettingsProblem(settings)) throw UsageError(*problem);
  request.folder = RequiredOutput(arguments);
  return request;
}

SolveRequest ReadSolveRequest(const ParsedArguments& arguments) {
  SolveRequest request;
  request.circuit = ReadCircuitRequest(arguments);
  if (auto method = arguments.Option("method")) request.methods = ReadMethods(*method);
  if (auto format = arguments.Option("format")) request.format = ReadFormat(*format);
  return request;
}

SpiceRequest ReadSpiceRequest(const ParsedArguments& arguments) {
  SpiceRequest request;
  request.circuit = ReadCircuitRequest(arguments);
  if (auto output = arguments.Option("output")) request.output = *output;
  return request;
}

std::string ProgramHelp() {
  std::string text =
      "Использование: ohmara [КОМАНДА ПАРАМЕТРЫ...]\n"
      "Без аргументов открывает окно программы.\n\n"
      "Команды:\n";
  for (const CommandSpec& command : Commands())
    text += "  ohmara " + std::string(command.name) + (*command.operands ? " " : "") + command.operands +
            " [ПАРАМЕТРЫ]\n      " + command.summary + "\n";
  text +=
      "\n  -h, --help                показать эту справку и выйти\n"
      "      --version             показать версию и выйти\n\n"
      "Справка по команде: ohmara КОМАНДА --help.\n"
      "Код выхода: 0 - успех, 1 - цепь или файл отвергнуты (причина в стандартном потоке ошибок),\n"
      "2 - неверная командная строка.\n";
  return text;
}

std::string CommandHelp(const CommandSpec& command) {
  std::string text = "Использование: ohmara " + std::string(command.name) + " [ПАРАМЕТРЫ]" +
                     (*command.operands ? std::string(" [--] ") + command.operands : std::string()) + "\n" +
                     command.summary + ".\n\nПараметры:\n";
  for (const OptionSpec& option : command.options) text += OptionLine(option);
  return text;
}

}  // namespace ohmara

#include "sample/sample_words.h"

#include <cctype>

namespace qm::sample {
namespace {

constexpr DeviceKind kDeviceKinds[] = {
    {"Pump", "P"},
    {"Valve", "XV"},
    {"Flow meter", "FT"},
    {"Level transmitter", "LT"},
    {"Temperature transmitter", "TT"},
    {"Pressure transmitter", "PT"},
    {"Mixer", "M"},
    {"Compressor", "K"},
    {"Blower", "B"},
    {"Dosing pump", "DP"},
    {"Power meter", "EM"},
    {"Chiller", "CH"},
    {"Heat exchanger", "HX"},
    {"Conveyor", "CV"},
    {"Tank", "T"},
};

// Every tag type code of the grids appears here, plus 20 and 21 (64-bit
// counters, which the grids do not list) and 0.
constexpr Signal kSignals[] = {
    {"Running", 11, ""},      {"Speed", 4, "rpm"},
    {"Temperature", 5, "°C"}, {"Mode", 2, ""},
    {"ErrorCode", 3, ""},     {"Offset", 16, "mm"},
    {"State", 17, ""},        {"Starts", 18, ""},
    {"RunHours", 19, "h"},    {"Recipe", 8, ""},
    {"Flow", 5, "m³/h"},      {"Level", 4, "%"},
    {"Fault", 11, ""},        {"EnergyCounter", 20, "Wh"},
    {"Pressure", 4, "bar"},   {"SerialNo", 21, ""},
    {"Current", 4, "A"},      {"SpeedSetpoint", 4, "rpm"},
    {"Totaliser", 5, "m³"},   {"Spare", 0, ""},
    {"OperatorNote", 8, ""},  {"Position", 4, "%"},
};

constexpr std::string_view kAreaNames[] = {
    "Intake",  "Screening", "Filtration", "Ozone",     "Clear Water",
    "Pumping", "Sludge",    "Energy",     "Chemicals", "Utilities",
};

constexpr std::string_view kForeignNames[] = {
    "Pumpe Süd",
    "Kelvin 300 \u212A",
    "Ölstand Behälter 3",
    "Θερμοκρασία νερού",
    "Αντλία Β",
    "冷却水ポンプ",
    "温度センサー 2号",
    "🔥 Brandmeldezentrale",
    "Tank 🛢 Füllstand",
    "Meſsstelle 7",
    "Straße Nord",
    "Łódź Zakład 4",
    "𝔉𝔩𝔬𝔴 Δp",
    "Naïve café crème",
};

constexpr std::string_view kTrickyNames[] = {
    "100% %s %d %ld",
    "*.js",
    "Entire Project",
    "3|",
    "20|4",
    " All Files",
    "*.*",
    "C:\\Plant\\pages\\INDEX.HTM",
    "<b>\"quoted\"</b> & more",
};

}  // namespace

std::span<const DeviceKind> DeviceKinds() { return kDeviceKinds; }
std::span<const Signal> Signals() { return kSignals; }
std::span<const std::string_view> AreaNames() { return kAreaNames; }
std::span<const std::string_view> ForeignNames() { return kForeignNames; }
std::span<const std::string_view> TrickyNames() { return kTrickyNames; }

std::string AreaFolder(uint32_t area) {
  std::string folder(kAreaNames[area % std::size(kAreaNames)]);
  for (char& c : folder) {
    c = c == ' ' ? '-' : static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  }
  return folder;
}

const DeviceKind& DeviceKindOf(uint32_t index) {
  return kDeviceKinds[index % std::size(kDeviceKinds)];
}

std::string DeviceCode(uint32_t index) {
  return std::string(DeviceKindOf(index).code) + std::to_string(101 + index);
}

}  // namespace qm::sample

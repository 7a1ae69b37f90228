#include "sample/sample_config.h"

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "sample/sample_text.h"
#include "sample/sample_random.h"
#include "sample/sample_variants.h"
#include "sample/sample_words.h"
#include "qmcfg/qmcfg.h"

namespace qm::sample {
namespace {

// Ids that name no record: far above every id the sample gives out.
constexpr int32_t kDanglingBase = 9000000;

std::string Num(int64_t n) { return std::to_string(n); }

// One timer pattern: a name and the fields it fills (all empty: always).
struct TimerPattern {
  std::string_view name;
  void (*fill)(TimerRecord*);
};

void FillRange(ValueSet* set, int first, int last, int step) {
  for (int v = first; v <= last; v += step) set->insert(static_cast<uint16_t>(v));
}

constexpr TimerPattern kTimerPatterns[] = {
    {"Always", [](TimerRecord*) {}},
    {"Every 100 ms", [](TimerRecord* t) { FillRange(&t->millisecond, 0, 900, 100); }},
    {"Every second", [](TimerRecord* t) { t->millisecond = {0}; }},
    {"Every 5 s", [](TimerRecord* t) { FillRange(&t->second, 0, 55, 5); }},
    {"Every minute", [](TimerRecord* t) { t->second = {0}; }},
    {"Hourly",
     [](TimerRecord* t) {
       t->minute = {0};
       t->second = {0};
     }},
    {"Twice a day",
     [](TimerRecord* t) {
       t->hour = {0, 12};
       t->minute = {0};
     }},
    {"Shift change",
     [](TimerRecord* t) {
       t->hour = {6, 14, 22};
       t->minute = {0};
     }},
    {"Nightly purge",
     [](TimerRecord* t) {
       t->hour = {2};
       t->minute = {30};
     }},
    {"Weekdays 07:00",
     [](TimerRecord* t) {
       FillRange(&t->dayOfWeek, 1, 5, 1);
       t->hour = {7};
     }},
    {"Monthly archive",
     [](TimerRecord* t) {
       t->day = {1};
       t->hour = {0};
       t->minute = {5};
     }},
    {"Quarter end",
     [](TimerRecord* t) {
       t->month = {3, 6, 9, 12};
       t->day = {28};
       t->hour = {23};
     }},
    {"Audit 2030",
     [](TimerRecord* t) {
       t->year = {2030};
       t->month = {1};
       t->day = {15};
     }},
    {"Legacy limits",
     [](TimerRecord* t) {
       t->year = {0, 65535};
       t->millisecond = {999};
     }},
};

constexpr std::string_view kDatabaseNames[] = {
    "History",        "Alarm log",   "Audit trail",   "Energy archive",
    "Qualitätsdaten", "Lab results", "Batch records", "History backup",
};

constexpr std::string_view kConnectionStrings[] = {
    "Driver={PostgreSQL Unicode};Server=hist01.plant.local;Port=5432;Database=",
    "Data Source=C:\\Plant\\Data\\",
    "Server=tcp:sql-archive,1433;Integrated Security=true;Initial Catalog=",
    "file:/var/lib/plant/",
};

constexpr std::string_view kUserNames[] = {
    "admin",       "operator",    "Jürgen Müller", "Ελένη Παπαδοπούλου", "田中 太郎",
    "maintenance", "guest",       "O'Brien, Seán", "shift.lead.a",       "Zoë Ångström",
    "lab",         "Иван Петров", "engineer",      "🛠 service",
};

// Expire dates: inside the calendar range (years 100 to 9999) and outside
// it, negative ones with a time of day, and one just before midnight.
constexpr double kSpecialExpireDates[] = {
    0.0,       -0.5, 45000.75, 45292.999999999, -657434.0, -657435.0, 2958465.5,
    2958466.0, 1e7,  -1e6,     36526.25,
};

constexpr int32_t kSecurityLevels[] = {0, 100, 250, 500, 750, 1000};

constexpr std::string_view kPortNames[] = {
    "Modbus TCP Line 1", "Pumpe Süd",       "Kelvin 300 \u212A", "Αντλιοστάσιο Β",
    "冷却水系統 🌊",      "Port %s at 100%", "Simulator",         "Simulator",
};

constexpr std::string_view kDrivers[] = {
    "ModbusTCP", "ModbusRTU", "OPC UA", "BACnet/IP", "EtherNet/IP", "DNP3", "Simulator",
};

constexpr std::string_view kOutputNames[] = {
    "Alarm printer Hall A", "Alarm e-mail",      "SMS on-call", "CSV export",
    "Shift report",         "Line printer LPT1", "Syslog",      "Leitstand Süd",
};

constexpr std::string_view kAlarmSuffixes[] = {".HiHi", ".Hi", ".Lo", ".LoLo", ".Trip", ".Changed"};

constexpr std::string_view kAlarmMessages[] = {
    "High high limit reached on ", "High limit on ", "Low limit on ",
    "Low low limit reached on ",   "Trip of ",       "Value changed on ",
};

constexpr std::string_view kForeignMessages[] = {
    "Übertemperatur Pumpe Süd",    "Υψηλή θερμοκρασία νερού",    "水位過高 — 冷却水ポンプ",
    "⚠️ Drucküberschreitung", "Kelvin 300 \u212A exceeded",
};

constexpr std::string_view kAlarmGroups[] = {
    "Process", "Electrical", "Safety", "Utilities", "Qualität", "Σύστημα", "Maintenance", "",
};

constexpr std::string_view kScriptNames[] = {
    "Pump control",     "Shift report",   "Startup sequence", "Recipe loader",    "Energy totals",
    "Alarm escalation", "Backwash cycle", "Dosing control",   "Übergabe Schicht", "🧪 Lab import",
};

constexpr std::string_view kKnownScriptFiles[] = {
    "scripts/pump_control.js",
    "scripts/common.js",
    "scripts/Αντλίες.js",
    "scripts/zero byte.js",
};

// Enumeration cycles: each value of the grids' lists and one unlisted.
constexpr int32_t kAlarmTriggers[] = {0, 0, 1, 2, 0, 1, 7};
constexpr int32_t kDeadbandTypes[] = {0, 1, 0, 2, 0, 1, 0, 2, 9};
constexpr int32_t kScriptTriggers[] = {0, 1, 2, 1, 2, 1, 0, 4};
constexpr int32_t kUnlistedCondition = 17;
constexpr int32_t kConditionCycle = 15;  // 0 to 13, then the unlisted one

template <class T, size_t N>
const T& Cycle(const T (&items)[N], size_t i) {
  return items[i % N];
}
template <class T>
const T& Cycle(std::span<const T> items, size_t i) {
  return items[i % items.size()];
}

// The device's address on its port, in the form of the port's driver.
std::string DevicePath(size_t port, size_t device, int32_t address) {
  const std::string p = Num(static_cast<int64_t>(port % 250));
  const std::string a = Num(address);
  switch (port % std::size(kDrivers)) {
    case 0:
      return "10.0." + p + "." + a;
    case 1:
      return "/dev/ttyS" + p;
    case 2:
      return "opc.tcp://opc-" + AreaFolder(static_cast<uint32_t>(port)) + ".plant.local:4840";
    case 3:
      return "192.168." + p + "." + a + ":47808";
    case 4:
      return "10.1." + p + "." + a + "/backplane/" + Num(static_cast<int64_t>(device % 16));
    case 5:
      return "dnp3://rtu-" + a + ".plant.local:20000";
    default:
      return "sim://" + DeviceCode(static_cast<uint32_t>(device));
  }
}

std::string PortHeader(size_t port) {
  const std::string p = Num(static_cast<int64_t>(port % 250));
  const std::string driver(Cycle(kDrivers, port));
  switch (port % std::size(kDrivers)) {
    case 0:
      return driver + " 10.0." + p + ".0/24 port=502 timeout=1000ms retries=3";
    case 1:
      return driver + " /dev/ttyS" + p + " 19200 8E1 timeout=500ms";
    case 2:
      return driver + " security=Basic256Sha256 publish=250ms";
    case 3:
      return driver + " 192.168." + p + ".0/24 port=47808 cov=on";
    case 4:
      return driver + " 10.1." + p + ".0/24 rpi=50ms";
    case 5:
      return driver + " master=1 unsolicited=on";
    default:
      return driver + " cycle=250ms";
  }
}

class ConfigBuilder {
 public:
  ConfigBuilder(const SampleConfigSize& size, uint64_t seed, ConfigTableSet* set)
      : size_(size), root_(seed), set_(set) {}

  void Build() {
    AddTimers();
    AddDatabases();
    AddUsers();
    AddPorts();
    AddDevices();
    AddTags();
    AddTrends();
    AddOutputs();
    AddAlarms();
    AddScripts();
    AddGeneral();
  }

 private:
  // Ascending ids with the occasional gap a deleted record leaves.
  std::vector<int32_t> MakeIds(size_t count) {
    std::vector<int32_t> ids;
    int32_t id = 0;
    for (size_t i = 0; i < count; ++i) {
      id += 1 + (rng_.OneIn(12) ? static_cast<int32_t>(rng_.Below(4)) : 0);
      ids.push_back(id);
    }
    return ids;
  }

  // Mostly a real reference, sometimes none (0) or one that names nothing.
  int32_t Ref(const std::vector<int32_t>& ids, uint32_t noneOneIn, uint32_t danglingOneIn) {
    if (noneOneIn != 0 && rng_.OneIn(noneOneIn)) return 0;
    if (ids.empty() || rng_.OneIn(danglingOneIn)) return Dangling();
    return ids[rng_.Below(static_cast<uint32_t>(ids.size()))];
  }
  int32_t Dangling() { return kDanglingBase + static_cast<int32_t>(rng_.Below(1000000)); }

  RecordHead Head(int32_t id, std::string_view name, std::string_view description) {
    RecordHead head;
    head.id = id;
    head.name = SampleText(name);
    head.description = Description(description);
    return head;
  }

  // The description given, now and then replaced by nothing, a name in
  // another script or a text that looks like a scope or a format.
  std::u16string Description(std::string_view usual) {
    switch (rng_.Below(40)) {
      case 0:
      case 1:
      case 2:
      case 3:
      case 4:
        return {};
      case 5:
      case 6:
        return SampleText(rng_.Pick(ForeignNames()));
      case 7:
        return SampleText(rng_.Pick(TrickyNames()));
      default:
        return SampleText(usual);
    }
  }

  void Start(TableSlot slot) { rng_ = root_.Fork(static_cast<uint64_t>(slot)); }

  void AddTimers();
  void AddDatabases();
  void AddUsers();
  void AddPorts();
  void AddDevices();
  void AddTags();
  void AddTrends();
  void AddOutputs();
  void AddAlarms();
  void AddScripts();
  void AddGeneral();
  void AddTag(size_t t, size_t k, size_t d);
  void SetCompareItems(size_t i, AlarmRecord* alarm, uint16_t tagType);

  const SampleConfigSize& size_;
  SampleRandom root_;
  SampleRandom rng_{0};
  ConfigTableSet* set_;

  std::vector<int32_t> timerIds_, groupIds_, outputNumbers_, portIds_, deviceIds_, tagIds_;
  std::vector<std::string> portNames_, deviceNames_, tagNames_;
  std::vector<uint16_t> tagTypes_;
};

void ConfigBuilder::AddTimers() {
  Start(kSlotTimers);
  const size_t patterns = std::size(kTimerPatterns);
  timerIds_ = MakeIds(size_.timers);
  for (size_t i = 0; i < timerIds_.size(); ++i) {
    const TimerPattern& pattern = kTimerPatterns[i % patterns];
    std::string name(pattern.name);
    // Every 16th repeat keeps the bare pattern name: duplicated names.
    if (i >= patterns && i % 16 != patterns % 16) {
      name += " (" + std::string(rng_.Pick(AreaNames())) + " " + Num(static_cast<int64_t>(i)) + ")";
    }
    TimerRecord timer;
    timer.head = Head(timerIds_[i], name, "Schedule for " + std::string(pattern.name));
    pattern.fill(&timer);
    (*set_->timers)[RecordKey(timer.head.id)] = std::move(timer);
  }
}

void ConfigBuilder::AddDatabases() {
  Start(kSlotDatabases);
  const std::vector<int32_t> ids = MakeIds(size_.databases);
  for (size_t i = 0; i < ids.size(); ++i) {
    DatabaseRecord db;
    std::string name(Cycle(kDatabaseNames, i));
    if (i >= std::size(kDatabaseNames)) name += " " + Num(static_cast<int64_t>(i));
    db.head = Head(ids[i], name, "Archive of " + name);
    // Group ids count up, but every seventh repeats the one before (the
    // later database wins a lookup) and one database has none.
    db.groupId = i == 3 ? 0 : (i % 7 == 6 ? groupIds_.back() : static_cast<int32_t>(10 * (i + 1)));
    if (db.groupId != 0) groupIds_.push_back(db.groupId);
    std::string file = "plant_" + Num(static_cast<int64_t>(i));
    db.connectionString =
        SampleText(std::string(Cycle(kConnectionStrings, i)) + file + (i % 4 == 1 ? ".mdb;" : ""));
    db.logTimerId = Ref(timerIds_, 10, 15);
    db.purgeTimerId = Ref(timerIds_, 6, 15);
    db.purgeType = i % 50 == 4 ? 2 : static_cast<int32_t>(i % 2);
    db.purgeCount = db.purgeType == 0 ? rng_.Between(7, 3650) : rng_.Between(10000, 5000000);
    (*set_->databases)[RecordKey(db.head.id)] = std::move(db);
  }
}

void ConfigBuilder::AddUsers() {
  Start(kSlotUsers);
  const std::vector<int32_t> ids = MakeIds(size_.users);
  for (size_t i = 0; i < ids.size(); ++i) {
    UserRecord user;
    std::string name(Cycle(kUserNames, i));
    if (i >= std::size(kUserNames)) name += "." + Num(static_cast<int64_t>(i));
    user.head = Head(ids[i], name, "Account of " + name);
    static const char kHex[] = "0123456789abcdef";
    for (int k = 0; k < 64; ++k)
      user.passwordHash.push_back(static_cast<char16_t>(kHex[rng_.Below(16)]));
    user.security = rng_.Pick(kSecurityLevels);
    const size_t special = std::size(kSpecialExpireDates);
    if (i < special) {
      user.expire = kSpecialExpireDates[i];
    } else if (i % 50 == 0) {
      user.expire = kSpecialExpireDates[(i / 50) % special];
    } else {
      user.expire = 45292.0 + rng_.Unit() * 4000.0;  // 2024 to 2034, any time of day
    }
    (*set_->users)[RecordKey(user.head.id)] = std::move(user);
  }
}

void ConfigBuilder::AddPorts() {
  Start(kSlotIoPorts);
  portIds_ = MakeIds(size_.ports);
  for (size_t i = 0; i < portIds_.size(); ++i) {
    std::string name = i < std::size(kPortNames)
                           ? std::string(kPortNames[i])
                           : "Line " + Num(static_cast<int64_t>(i)) + " Ethernet";
    IoPortRecord port;
    port.head = Head(portIds_[i], name, "Field bus of " + std::string(Cycle(AreaNames(), i)));
    port.header = SampleText(PortHeader(i));
    portNames_.push_back(std::move(name));
    (*set_->ioPorts)[RecordKey(port.head.id)] = std::move(port);
  }
}

void ConfigBuilder::AddDevices() {
  Start(kSlotIoDevices);
  const size_t orphans = 1 + size_.devices / 500;  // on a port that does not exist
  deviceIds_ = MakeIds(size_.devices + orphans);
  size_t previousPort = SIZE_MAX;
  for (size_t d = 0; d < deviceIds_.size(); ++d) {
    const bool orphan = d >= size_.devices;
    const size_t port = orphan ? 0 : d * portIds_.size() / size_.devices;
    const uint32_t index = static_cast<uint32_t>(d);
    std::string name = std::string(DeviceKindOf(index).name) + " " + DeviceCode(index);
    if (port != previousPort && port % 3 == 0) {
      name = "Gateway";  // the first device of every third port: a repeated name
    } else if (d % 9 == 4) {
      name = Cycle(ForeignNames(), d / 9);
    } else if (d % 13 == 7) {
      name = deviceNames_.back();
    }
    previousPort = port;
    IoDeviceRecord device;
    device.head = Head(
        deviceIds_[d], name,
        std::string(DeviceKindOf(index).name) + " in " + std::string(Cycle(AreaNames(), port)));
    device.address = rng_.Between(1, 247);
    device.path = SampleText(DevicePath(port, d, device.address));
    device.driver = SampleText(Cycle(kDrivers, port));
    device.portId = orphan ? Dangling() : portIds_[port];
    device.portName = orphan ? std::u16string() : SampleText(portNames_[port]);
    device.timerId = Ref(timerIds_, 20, 30);
    deviceNames_.push_back(std::move(name));
    (*set_->ioDevices)[RecordKey(device.head.id)] = std::move(device);
  }
}

std::string TagName(size_t t, size_t k, const std::string& code, const Signal& signal) {
  if (t % 41 == 17) return std::string(Cycle(ForeignNames(), t / 41));
  if (t % 97 == 50) return std::string(Cycle(TrickyNames(), t / 97));
  // A multiple of the signal count apart: the same bare name on many devices.
  if (t % (2 * Signals().size()) == 7) return std::string(signal.name);
  const size_t signals = Signals().size();
  std::string name = code + "." + std::string(signal.name);
  if (k >= signals) name += "_" + Num(static_cast<int64_t>(k / signals + 1));
  return name;
}

void ConfigBuilder::AddTags() {
  Start(kSlotIoTags);
  const size_t orphans = 1 + size_.tags / 10000;  // on a device that does not exist
  tagIds_ = MakeIds(size_.tags + orphans);
  const size_t devices = size_.devices;
  const size_t base = size_.tags / devices;
  size_t t = 0;
  size_t jitter = 0;
  for (size_t d = 0; d < devices; ++d) {
    // Pairs of devices trade tags, so counts vary but add up exactly.
    size_t count = base + (d < size_.tags % devices ? 1 : 0);
    if (d % 2 == 0) {
      jitter = d + 1 < devices ? rng_.Below(static_cast<uint32_t>(base / 3 + 1)) : 0;
      count += jitter;
    } else {
      count -= jitter;
    }
    for (size_t k = 0; k < count; ++k, ++t) AddTag(t, k, d);
  }
  for (; t < tagIds_.size(); ++t) AddTag(t, t, SIZE_MAX);
}

void ConfigBuilder::AddTag(size_t t, size_t k, size_t d) {
  const bool orphan = d == SIZE_MAX;
  const Signal& signal = Cycle(Signals(), t);
  const std::string code =
      orphan ? "X" + Num(static_cast<int64_t>(t)) : DeviceCode(static_cast<uint32_t>(d));
  const std::string name = TagName(t, k, code, signal);
  const std::string unit = signal.unit.empty() ? "" : " in " + std::string(signal.unit);
  IoTagRecord tag;
  tag.head = Head(tagIds_[t], name, std::string(signal.name) + " of " + code + unit);
  tag.address = 40001 + static_cast<int32_t>(2 * (k % 5000));
  tag.path = SampleText(d % 2 == 0 ? "HR:" + Num(tag.address)
                             : "ns=2;s=" + AreaFolder(static_cast<uint32_t>(d)) + "." + code + "." +
                                   std::string(signal.name));
  tag.type = signal.tagType;
  tag.batch = static_cast<int32_t>(rng_.Below(4));
  tag.deviceId = orphan ? Dangling() : deviceIds_[d];
  tag.deviceName = orphan ? std::u16string() : SampleText(deviceNames_[d]);
  tag.logDb = Ref(groupIds_, 4, 25);
  tag.persistDb = Ref(groupIds_, 2, 25);
  tag.r = 1;
  tag.w = signal.name.ends_with("Setpoint") || signal.tagType == kVtBstr || rng_.OneIn(5) ? 1 : 0;
  // Most start-up values have the tag's own type; every fourth tag, and
  // every third fallback, walks through all the variant types in turn.
  const std::span<const uint16_t> types = SampleVariantTypes();
  tag.startup = SampleVariant(t % 4 == 1 ? Cycle(types, t / 4) : signal.tagType, rng_);
  if (t % 3 == 2) tag.fallback = SampleVariant(Cycle(types, t / 3 + 7), rng_);
  tagNames_.push_back(name);
  tagTypes_.push_back(signal.tagType);
  (*set_->ioTags)[RecordKey(tag.head.id)] = std::move(tag);
}

void ConfigBuilder::AddTrends() {
  Start(kSlotTrends);
  constexpr int32_t kPeriods[] = {100, 250, 500, 1000, 5000, 60000};
  const std::vector<int32_t> ids = MakeIds(size_.trends);
  for (size_t i = 0; i < ids.size(); ++i) {
    const size_t ti = rng_.Below(static_cast<uint32_t>(tagIds_.size()));
    TrendRecord trend;
    trend.head = Head(ids[i], "Trend " + tagNames_[ti],
                      "Recorded for " + std::string(Cycle(AreaNames(), i)));
    trend.tagId = rng_.OneIn(20) ? Dangling() : tagIds_[ti];
    trend.periodMs = rng_.Pick(kPeriods);
    (*set_->trends)[RecordKey(trend.head.id)] = std::move(trend);
  }
}

void ConfigBuilder::AddOutputs() {
  Start(kSlotOutputs);
  const std::vector<int32_t> ids = MakeIds(size_.outputs);
  for (size_t i = 0; i < ids.size(); ++i) {
    std::string name(Cycle(kOutputNames, i));
    if (i >= std::size(kOutputNames)) name += " " + Num(static_cast<int64_t>(i));
    OutputRecord output;
    output.head = Head(ids[i], name, "Sends alarms to " + name);
    // Numbers count up; every ninth repeats the one before.
    output.outputNo = i % 9 == 5 ? outputNumbers_.back() : static_cast<int32_t>(i + 1);
    outputNumbers_.push_back(output.outputNo);
    output.format = static_cast<int32_t>(i % 3);
    output.header = SampleText("Report " + name + " – %DATE% %TIME%");
    output.content =
        SampleText(i % 2 == 0 ? "%TAG%;%VALUE%;%MESSAGE%" : "<tr><td>%TAG%</td><td>%VALUE%</td></tr>");
    output.footer = SampleText(i % 4 == 3 ? "" : "-- end of " + name + " --");
    (*set_->outputs)[RecordKey(output.head.id)] = std::move(output);
  }
}

void ConfigBuilder::AddAlarms() {
  Start(kSlotAlarms);
  const std::vector<int32_t> ids = MakeIds(size_.alarms);
  for (size_t i = 0; i < ids.size(); ++i) {
    const size_t kind = rng_.Below(static_cast<uint32_t>(std::size(kAlarmSuffixes)));
    const size_t ti = rng_.Below(static_cast<uint32_t>(tagIds_.size()));
    const bool dangling = rng_.OneIn(40);
    const std::string tagName = dangling ? std::string("Removed tag") : tagNames_[ti];
    AlarmRecord alarm;
    alarm.head = Head(ids[i], tagName + std::string(kAlarmSuffixes[kind]), "Alarm on " + tagName);
    alarm.message = SampleText(rng_.OneIn(12) ? std::string(rng_.Pick(kForeignMessages))
                                        : std::string(kAlarmMessages[kind]) + tagName);
    alarm.groupName = SampleText(rng_.Pick(kAlarmGroups));
    alarm.tagId = dangling ? Dangling() : tagIds_[ti];
    alarm.triggerBy = Cycle(kAlarmTriggers, i);
    const int32_t condition = static_cast<int32_t>(i % kConditionCycle);
    alarm.condition = condition == kConditionCycle - 1 ? kUnlistedCondition : condition;
    SetCompareItems(i, &alarm, dangling ? uint16_t{kVtR8} : tagTypes_[ti]);
    alarm.deadbandType = Cycle(kDeadbandTypes, i);
    alarm.deadband = alarm.deadbandType == 0   ? 0.0
                     : alarm.deadbandType == 2 ? rng_.Between(1, 50) / 10.0
                                               : rng_.Between(1, 200) / 20.0;
    alarm.type = i % 97 == 13 ? 3 : (i % 5 == 4 ? 1 : 0);
    alarm.logTo = Ref(groupIds_, 5, 20);
    alarm.outputTo = Ref(outputNumbers_, 3, 20);
    (*set_->alarms)[RecordKey(alarm.head.id)] = std::move(alarm);
  }
}

// Compare tags for Compare Tag, compare values for Compare Value, both for
// the unlisted trigger; the second item only for range conditions. Some
// alarms carry items of the other kind as well, which the grid never shows.
void ConfigBuilder::SetCompareItems(size_t i, AlarmRecord* alarm, uint16_t tagType) {
  const bool unlisted = alarm->triggerBy > 2;
  const bool second = IsRangeCondition(alarm->condition) || unlisted;
  const bool stray = i % 11 == 3;
  if (alarm->triggerBy == 1 || unlisted || stray) {
    alarm->compareTag1 = Ref(tagIds_, 0, 30);
    if (second) alarm->compareTag2 = Ref(tagIds_, 0, 30);
  }
  if (alarm->triggerBy == 0 || unlisted || stray) {
    const std::span<const uint16_t> types = SampleVariantTypes();
    const uint16_t type = i % 5 == 0 ? Cycle(types, i / 5) : tagType;
    alarm->compareValue1 = SampleVariant(type, rng_);
    if (second) alarm->compareValue2 = SampleVariant(type, rng_);
  }
}

void ConfigBuilder::AddScripts() {
  Start(kSlotScripts);
  const std::vector<int32_t> ids = MakeIds(size_.scripts);
  const size_t names = std::size(kScriptNames);
  for (size_t i = 0; i < ids.size(); ++i) {
    std::string name(Cycle(kScriptNames, i));
    if (i >= names && i % names != 3) name += " " + Num(static_cast<int64_t>(i));
    ScriptRecord script;
    script.head = Head(ids[i], name, "Runs " + name);
    script.fileName = SampleText(i < std::size(kKnownScriptFiles)
                               ? std::string(kKnownScriptFiles[i])
                               : "scripts/" + AreaFolder(static_cast<uint32_t>(i)) + "/script_" +
                                     Num(static_cast<int64_t>(i)) + ".js");
    script.triggerBy = Cycle(kScriptTriggers, i);
    switch (script.triggerBy) {
      case 1:
        script.triggerer = Ref(timerIds_, 0, 20);
        break;
      case 2:
        script.triggerer = Ref(tagIds_, 0, 20);
        break;
      default:
        script.triggerer = rng_.Between(0, 500);
        break;  // without meaning
    }
    (*set_->scripts)[RecordKey(script.head.id)] = std::move(script);
  }
}

void ConfigBuilder::AddGeneral() {
  Start(kSlotGeneral);
  GeneralTable& general = *set_->general;
  general[std::u16string(kGeneralProjectId)] =
      SampleText("PLANT-" + Num(rng_.Between(1000, 9999)) + "-SÜD");
  general[std::u16string(kGeneralPreLaunch)] = SampleText("batch/Start Plant.bat");
  general[std::u16string(kGeneralPostLaunch)] = SampleText("batch/cleanup.bat");
  general[u"project-name"] = SampleText("Wasserwerk Süd – Linie 1");
  general[u"start-page"] = SampleText("pages/Main Overview.html");
  general[u"version"] = SampleText("3.2." + Num(rng_.Between(100, 999)));
  general[u"author"] = SampleText("Ingenieurbüro Κάππα");
  general[u"units"] = SampleText("°C, bar, m³/h; 100% = full scale");
}

}  // namespace

void BuildSampleConfig(const SampleConfigSize& size, uint64_t seed, ConfigTableSet* set) {
  set->Renew();
  ConfigBuilder(size, seed, set).Build();
}

void WriteSampleConfig(const std::string& path, const ConfigTableSet& set) {
  const ConfigHandle handle = CfgOpenConfig(SampleText(path).c_str(), 0);
  if (handle == 0) throw SampleError("cannot open " + path + " as a project file");
  const int32_t code = CfgWriteAllTables(handle, &set, 0);
  CfgCloseConfig(handle);
  if (code == kCfgNotWritable || code == kCfgSqliteBase + 14 || code == kCfgSqliteBase + 8) {
    throw SampleError("cannot write " + path + ": the folder cannot be written (code " +
                       std::to_string(code) + ")");
  }
  if (code != kCfgOk) {
    throw SampleError("cannot write " + path + ": the project store failed with code " +
                       std::to_string(code));
  }
}

}  // namespace qm::sample

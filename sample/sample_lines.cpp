#include "sample/sample_lines.h"

#include <charconv>
#include <span>

#include "sample/sample_words.h"

namespace qm::sample {
namespace {

// Placeholders: $t a tag name, $d a device code, $n a small number, $x a
// decimal, $a an area, $f an area folder, $u a unit, $c a colour, $F a name
// in another script, $v a function name, $D a date and time, $w the word
// given to AppendLineWith. Nothing else in a pattern starts with "$".

constexpr std::string_view kHtmlHeader[] = {
    "<!DOCTYPE html>",
    "<html lang=\"de\">",
    "<head>",
    "  <meta charset=\"utf-8\">",
    "  <title>$a – Übersicht $d</title>",
    "  <link rel=\"stylesheet\" href=\"../styles/site.css\">",
    "  <script src=\"../scripts/common.js\"></script>",
    "</head>",
    "<body class=\"plant\" data-area=\"$f\">",
};
constexpr std::string_view kHtmlBody[] = {
    "<div class=\"tile\" id=\"tile-$d\"><span class=\"label\">$d – $a</span></div>",
    "  <input type=\"text\" class=\"value\" data-tag=\"$t\" value=\"$x\" readonly>",
    "  <td class=\"unit\">$u</td><td class=\"value\" data-tag=\"$t\">--</td>",
    "<p lang=\"de\">Füllstand $d: bitte Grenzwerte prüfen ($x $u).</p>",
    "<a href=\"../pages/$f/detail_$n.htm\" title=\"$a\">$a details</a>",
    "<script src=\"../scripts/$f/control_$n.js\"></script>",
    "  <button class=\"cmd\" onclick=\"qm.writeTag('$t', 1)\">Start $d</button>",
    "  <span class=\"badge\" title=\"$F\">$F</span>",
    "  <img src=\"../graphics/$f/symbol_$n.svg\" alt=\"$d symbol\" width=\"48\" height=\"48\">",
    "<section class=\"panel\" data-area=\"$f\"><h2>$a</h2>",
    "</section>",
    "  <meter min=\"0\" max=\"100\" value=\"$n\" data-tag=\"$t\"></meter>",
    "<!-- $D changed by engineering: new limits for $d -->",
    "  <tr><th>$d</th><td class=\"value\" data-tag=\"$t\" data-format=\"0.00\">$x</td></tr>",
};
constexpr std::string_view kHtmlFooter[] = {"</body>", "</html>"};

constexpr std::string_view kScriptHeader[] = {
    "// $a: control logic of the sample plant",
    "'use strict';",
    "",
};
constexpr std::string_view kScriptBody[] = {
    "  var value = qm.readTag(\"$t\");",
    "  if (value > $x) { qm.writeTag(\"$t\", true); }",
    "  // $F: Nachlauf $n s, danach Ventil schließen",
    "function $v_$d(event) {",
    "  const level = tags[\"$t\"].value * 0.01;",
    "  log.info(\"$a: level of $d is \" + level.toFixed(2) + \" $u\");",
    "  setpoint = Math.min(Math.max(setpoint, 0), $n); // clamp to the allowed range",
    "  alarms.acknowledge(\"$t.Hi\", session.user.name);",
    "  return { tag: \"$t\", value: v, quality: \"good\", time: Date.now() };",
    "  for (let i = 0; i < devices.length; i++) { devices[i].poll($n); }",
    "}",
    "  if (!qm.isConnected(\"$d\")) { throw new Error(\"$d offline in $a\"); }",
    "  const total = history.sum(\"$t\", { from: \"$D\", hours: $n });",
    "  /* $a: $d – Sollwert $x $u, Grenzwert geprüft am $D */",
    "  ui.setText(\"lbl_$d\", qm.format(value, 2) + \" $u\");",
    "  let state = qm.readTag(\"$t\") ? STATE_RUNNING : STATE_STOPPED;",
};
constexpr std::string_view kScriptFooter[] = {"", "// end of file"};

constexpr std::string_view kStyleHeader[] = {"/* Styles for $a */", "@charset \"utf-8\";"};
constexpr std::string_view kStyleBody[] = {
    ".tile .value { font: 600 14px/1.2 \"DejaVu Sans\", sans-serif; color: $c; }",
    "#tile-$d { border: 1px solid $c; background: $c; margin: $npx; }",
    "/* $F – Anzeigefarben für $a */",
    ".alarm-active .value, .alarm-active .label { animation: blink 1s step-end infinite; }",
    "  transition: background-color 250ms ease-in-out, color 250ms ease-in-out;",
    ".panel[data-area=\"$f\"] > h2 { font-size: 18px; letter-spacing: 0.02em; }",
    "@media (max-width: $npx) { .tile { width: 100%; float: none; } }",
    "  box-shadow: 0 1px 3px rgba(0, 0, 0, 0.25), 0 0 0 1px $c inset;",
    "}",
    "meter.level::-webkit-meter-optimum-value { background: $c; }",
};
constexpr std::string_view kStyleFooter[] = {"/* end */"};

constexpr std::string_view kGraphicHeader[] = {
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>",
    "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"1280\" height=\"720\" viewBox=\"0 0 1280 "
    "720\">",
    "  <title>$a – $F</title>",
};
constexpr std::string_view kGraphicBody[] = {
    "  <rect x=\"$n\" y=\"$n\" width=\"60\" height=\"200\" class=\"tank\" id=\"$d\"/>",
    "  <text x=\"$n\" y=\"$n\" font-size=\"12\" data-tag=\"$t\">$d: {value} $u</text>",
    "  <path d=\"M $n $n L $n $n L $n $n\" stroke=\"$c\" stroke-width=\"2\" fill=\"none\"/>",
    "  <circle cx=\"$n\" cy=\"$n\" r=\"18\" class=\"pump running\" data-tag=\"$t\"/>",
    "  <g id=\"grp-$d\" transform=\"translate($n,$n)\"><title>$F</title></g>",
    "  <line x1=\"$n\" y1=\"$n\" x2=\"$n\" y2=\"$n\" stroke=\"$c\" stroke-dasharray=\"4 2\"/>",
    "  <use href=\"#valve\" x=\"$n\" y=\"$n\" data-tag=\"$t\" data-value-format=\"0.0\"/>",
};
constexpr std::string_view kGraphicFooter[] = {"</svg>"};

constexpr std::string_view kBatchHeader[] = {"@echo off", "setlocal EnableExtensions", "REM $a"};
constexpr std::string_view kBatchBody[] = {
    "REM $a: $F",
    "set QM_PROJECT=%~dp0..\\plant.qmp",
    "copy /Y \"%SRC%\\pages\\$f\\*.htm\" \"%DST%\\pages\\$f\\\" >nul",
    "if errorlevel 1 goto :fail",
    "echo Starting value logger for $d in $a ...",
    "xcopy /E /I /Q \"%SRC%\\scripts\\$f\" \"%DST%\\scripts\\$f\" >nul",
    "ping -n $n 127.0.0.1 >nul & rem wait for $d to come up",
    "for %%F in (\"%DST%\\logs\\*.log\") do del /Q \"%%F\"",
    "call :log \"$D reset of $t requested\"",
};
constexpr std::string_view kBatchFooter[] = {"endlocal", "exit /b 0"};

constexpr std::string_view kTextHeader[] = {"Schichtbuch / shift log – $a", ""};
constexpr std::string_view kTextBody[] = {
    "$D Shift A: $d restarted after fault, value back to $x $u.",
    "$D $a: checked $t, reading $x $u, within limits.",
    "$D Hinweis: $F – Sensor $d gereinigt, Messwert stabil.",
    "$D Σημείωση: έλεγχος $d ολοκληρώθηκε, τιμή $x $u.",
    "$D 点検: $d のセンサー値 $x $u を確認しました。",
    "$D Maintenance order $n opened for $d ($a).",
    "$D Alarm $t.Hi acknowledged by operator, set value unchanged.",
    "- Replace gasket on $d before next start-up, see drawing $n.",
};
constexpr std::string_view kTextFooter[] = {""};

struct LanguageLines {
  std::span<const std::string_view> header;
  std::span<const std::string_view> body;
  std::span<const std::string_view> footer;
  std::string_view withWord;  // a body line around the word $w
};

// Indexed by Language.
const LanguageLines kLanguages[] = {
    {kHtmlHeader, kHtmlBody, kHtmlFooter,
     "  <button class=\"reset\" data-tag=\"$w\" title=\"$a\">Reset $d</button>"},
    {kScriptHeader, kScriptBody, kScriptFooter,
     "  if (tags[\"$w\"].value) { qm.pulse(\"$d.Reset\", $n); }"},
    {kStyleHeader, kStyleBody, kStyleFooter,
     ".$w { outline: 2px solid $c; outline-offset: -2px; }"},
    {kGraphicHeader, kGraphicBody, kGraphicFooter,
     "  <g id=\"$w\" class=\"latch\"><rect x=\"$n\" y=\"$n\" width=\"24\" height=\"24\"/></g>"},
    {kBatchHeader, kBatchBody, kBatchFooter, "echo Clearing $w on $d >> \"%LOG%\""},
    {kTextHeader, kTextBody, kTextFooter, "$D Operator reset $w on $d after an overflow in $a."},
};

const LanguageLines& LinesOf(Language language) { return kLanguages[static_cast<int>(language)]; }

constexpr std::string_view kFunctionNames[] = {
    "onTimer",       "updateTile", "readLevel",    "checkLimits",
    "startSequence", "stopPump",   "resetCounter", "logTotals",
};

void AppendNumber(int64_t n, std::string* out) {
  char buffer[24];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, n);
  out->append(buffer, result.ptr);
}

void AppendPadded(int64_t n, std::string* out) {
  if (n < 10) out->push_back('0');
  AppendNumber(n, out);
}

void AppendDate(SampleRandom& rng, std::string* out) {
  out->append("2024-");
  AppendPadded(rng.Between(1, 12), out);
  out->push_back('-');
  AppendPadded(rng.Between(1, 28), out);
  out->push_back(' ');
  AppendPadded(rng.Between(0, 23), out);
  out->push_back(':');
  AppendPadded(rng.Between(0, 59), out);
}

void AppendColour(SampleRandom& rng, std::string* out) {
  static const char kHex[] = "0123456789abcdef";
  out->push_back('#');
  for (int i = 0; i < 6; ++i) out->push_back(kHex[rng.Below(16)]);
}

std::string_view UnitOf(SampleRandom& rng) {
  for (;;) {
    const Signal& signal = rng.Pick(Signals());
    if (!signal.unit.empty()) return signal.unit;
  }
}

}  // namespace

size_t SampleLines::HeaderLines(Language language) const { return LinesOf(language).header.size(); }
size_t SampleLines::FooterLines(Language language) const { return LinesOf(language).footer.size(); }

void SampleLines::AppendHeader(Language language, size_t index, SampleRandom& rng,
                               std::string* out) const {
  Expand(LinesOf(language).header[index], {}, rng, out);
}

void SampleLines::AppendFooter(Language language, size_t index, SampleRandom& rng,
                               std::string* out) const {
  Expand(LinesOf(language).footer[index], {}, rng, out);
}

void SampleLines::AppendLine(Language language, SampleRandom& rng, std::string* out) const {
  Expand(rng.Pick(LinesOf(language).body), {}, rng, out);
}

void SampleLines::AppendLineWith(Language language, std::string_view word, SampleRandom& rng,
                                 std::string* out) const {
  Expand(LinesOf(language).withWord, word, rng, out);
}

void SampleLines::AppendTag(SampleRandom& rng, std::string* out) const {
  out->append(DeviceCode(rng.Below(deviceCount_)));
  out->push_back('.');
  out->append(rng.Pick(Signals()).name);
}

// Copies the pattern in runs between placeholders; this loop makes nearly
// all of a large sample's bytes, so it never builds a string per piece.
void SampleLines::Expand(std::string_view pattern, std::string_view word, SampleRandom& rng,
                         std::string* out) const {
  size_t at = 0;
  while (at < pattern.size()) {
    const size_t mark = pattern.find('$', at);
    if (mark == std::string_view::npos || mark + 1 == pattern.size()) {
      out->append(pattern.substr(at));
      return;
    }
    out->append(pattern.substr(at, mark - at));
    switch (pattern[mark + 1]) {
      case 't':
        AppendTag(rng, out);
        break;
      case 'd':
        out->append(DeviceCode(rng.Below(deviceCount_)));
        break;
      case 'n':
        AppendNumber(rng.Between(0, 999), out);
        break;
      case 'x': {
        const int32_t tenths = rng.Between(0, 99999);
        AppendNumber(tenths / 10, out);
        out->push_back('.');
        AppendNumber(tenths % 10, out);
        break;
      }
      case 'a':
        out->append(rng.Pick(AreaNames()));
        break;
      case 'f':
        out->append(AreaFolder(rng.Below(static_cast<uint32_t>(AreaNames().size()))));
        break;
      case 'u':
        out->append(UnitOf(rng));
        break;
      case 'c':
        AppendColour(rng, out);
        break;
      case 'F':
        out->append(rng.Pick(ForeignNames()));
        break;
      case 'v':
        out->append(rng.Pick(kFunctionNames));
        break;
      case 'D':
        AppendDate(rng, out);
        break;
      case 'w':
        out->append(word);
        break;
      default:
        out->append(pattern.substr(mark, 2));
        break;
    }
    at = mark + 2;
  }
}

}  // namespace qm::sample

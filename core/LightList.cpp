#include "LightList.h"

#include "JSONItem.h"
#include "LightRows.h"
#include "Utf8Text.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace {
constexpr std::int64_t FullBrightness = 255;
// The level cell of a unit that cannot be dimmed.
const QString NotDimmableCell = QStringLiteral("---");
// Members of a light object and of its state, reserved before they are added.
constexpr std::int64_t LightMembers = 5;
constexpr std::int64_t StateMembers = 4;
// Room for the decimal digits of a light's number.
constexpr std::size_t NumberDigits = 24;
} // namespace

void LightList::build(const JSONItem& units, JSONItem& lights, LightRows* rows)
{
    const std::int64_t count = units.Count();
    lights.Reserve(count);
    for (std::int64_t i = 0; i < count; ++i) {
        const JSONItem& record = *units.Value(i).toItem();
        const std::string& name = record.Value("name").toText();
        const State state = stateOf(record.Value("dimmable").toText(), record.Value("value").toText());

        char digits[NumberDigits];
        const std::string_view number(
            digits, std::size_t(std::to_chars(digits, digits + NumberDigits, i).ptr - digits));
        lights.Value(number, lightObject(name, state));
        if (rows)
            writeRow(*rows, static_cast<int>(i),
                     {QString::fromLatin1(number), Utf8Text::decoded(name), state.stateCell,
                      state.valueCell});
    }
}

std::shared_ptr<JSONItem> LightList::lightObject(const std::string& name, const State& state)
{
    auto lightState = std::make_shared<JSONItem>();
    lightState->Reserve(StateMembers);
    lightState->Value("on", state.on);
    lightState->Value("bri", state.bri);
    lightState->Value("reachable", true);
    lightState->Value("alert", "none");

    auto light = std::make_shared<JSONItem>();
    light->Reserve(LightMembers);
    light->Value("name", name);
    light->Value("modelid", ModelId);
    light->Value("swversion", SoftwareVersion);
    light->Value("type", LightType);
    light->Value("state", std::move(lightState));
    return light;
}

LightList::State LightList::stateOf(const std::string& dimmableText, const std::string& valueText)
{
    const std::int64_t level = levelOf(valueText);
    const QString off = QStringLiteral("Off");
    const QString on = QStringLiteral("On");
    if (dimmableText == DimmableText) {
        const QString cell = Utf8Text::decoded(valueText);
        if (level < 1)
            return {false, 0, off, cell};
        return {true, scaledLevel(level), on, cell};
    }
    if (level == 1)
        return {true, FullBrightness, on, NotDimmableCell};
    return {false, 0, off, NotDimmableCell};
}

std::int64_t LightList::scaledLevel(std::int64_t value)
{
    // The product is taken in 64 bits; a level so large that it overflows
    // wraps instead of being undefined.
    const auto product = static_cast<std::int64_t>(static_cast<std::uint64_t>(value)
                                                   * static_cast<std::uint64_t>(FullBrightness));
    // Halves round away from zero: 10 gives 25.5, shown as 26.
    return static_cast<std::int64_t>(std::round(static_cast<double>(product) / 100.0));
}

std::int64_t LightList::levelOf(const std::string& valueText)
{
    const char* first = valueText.data();
    const char* last = first + valueText.size();
    while (first != last && (*first == ' ' || *first == '\t'))
        ++first;
    std::int64_t level = 0;
    const std::errc error = std::from_chars(first, last, level).ec;
    if (error == std::errc::result_out_of_range)
        return *first == '-' ? std::numeric_limits<std::int64_t>::min()
                             : std::numeric_limits<std::int64_t>::max();
    return error == std::errc() ? level : 0;
}

void LightList::writeRow(LightRows& rows, int index, const QStringList& cells)
{
    if (index <= rows.ListCount() - 1)
        rows.setRow(index, cells);
    else
        rows.AddRow(cells);
}

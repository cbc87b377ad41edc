#include "ColumnWidths.h"

#include <QStringList>
#include <algorithm>
#include <cmath>
#include <optional>

namespace {
const QChar EntrySeparator = QLatin1Char(',');
const QChar ShareMark = QLatin1Char('*');
const QChar PercentMark = QLatin1Char('%');
constexpr double DefaultShare = 1.0;
constexpr double PercentBase = 100.0;

struct Entry {
    enum class Kind { Fixed, Percent, Share };
    Kind kind = Kind::Share;
    double value = DefaultShare;
};

// A non-negative finite number, or nothing.
std::optional<double> readNumber(const QString& text)
{
    bool ok = false;
    const double value = text.toDouble(&ok);
    if (!ok || !std::isfinite(value) || value < 0)
        return std::nullopt;
    return value;
}

Entry readEntry(const QString& rawEntry)
{
    const QString entry = rawEntry.trimmed();
    if (entry == ShareMark)
        return {Entry::Kind::Share, DefaultShare};
    Entry::Kind kind = Entry::Kind::Fixed;
    QString number = entry;
    if (entry.endsWith(ShareMark) || entry.endsWith(PercentMark)) {
        kind = entry.endsWith(ShareMark) ? Entry::Kind::Share : Entry::Kind::Percent;
        number.chop(1);
    }
    const std::optional<double> value = readNumber(number);
    if (!value)
        return {};
    return {kind, *value};
}
} // namespace

QList<int> ColumnWidths::resolve(const QString& text, int columnCount, int availableWidth)
{
    const QStringList pieces = text.split(EntrySeparator);
    QList<Entry> entries;
    for (int column = 0; column < columnCount; ++column)
        entries.append(column < pieces.size() ? readEntry(pieces[column]) : Entry{});

    QList<int> widths(columnCount, 0);
    double remaining = availableWidth;
    double totalShares = 0;
    for (int column = 0; column < columnCount; ++column) {
        const Entry& entry = entries[column];
        if (entry.kind == Entry::Kind::Share) {
            totalShares += entry.value;
            continue;
        }
        const double width = entry.kind == Entry::Kind::Fixed
                                 ? entry.value
                                 : availableWidth * entry.value / PercentBase;
        widths[column] = static_cast<int>(std::lround(width));
        remaining -= widths[column];
    }
    remaining = std::max(remaining, 0.0);

    // Shares are rounded on their running sum, so the share columns fill the
    // remaining width exactly.
    double sharesSoFar = 0;
    long filledSoFar = 0;
    for (int column = 0; column < columnCount; ++column) {
        const Entry& entry = entries[column];
        if (entry.kind != Entry::Kind::Share || totalShares <= 0)
            continue;
        sharesSoFar += entry.value;
        const long filled = std::lround(remaining * sharesSoFar / totalShares);
        widths[column] = static_cast<int>(filled - filledSoFar);
        filledSoFar = filled;
    }
    return widths;
}

QList<int> ColumnWidths::atLeast(QList<int> widths, const QList<int>& minimums)
{
    int needed = 0;
    for (qsizetype column = 0; column < widths.size() && column < minimums.size(); ++column) {
        needed += std::max(0, minimums[column] - widths[column]);
        widths[column] = std::max(widths[column], minimums[column]);
    }
    while (needed > 0) {
        qsizetype widest = -1;
        int spare = 0;
        for (qsizetype column = 0; column < widths.size(); ++column) {
            const int own = widths[column] - (column < minimums.size() ? minimums[column] : 0);
            if (own > spare) {
                spare = own;
                widest = column;
            }
        }
        if (widest < 0)
            break;
        const int taken = std::min(spare, needed);
        widths[widest] -= taken;
        needed -= taken;
    }
    return widths;
}

QString ColumnWidths::format(const QList<int>& widths)
{
    QStringList entries;
    for (int width : widths)
        entries.append(QString::number(width));
    return entries.join(EntrySeparator);
}

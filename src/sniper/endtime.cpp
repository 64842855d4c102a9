#include "sniper/endtime.h"

#include "common/timeformat.h"

namespace {

// Positions are 1-based as in the reading's rules; Copy-like: a start before the text begins
// at its first character, a count past its end takes what is there.
QStringView copy(QStringView text, qsizetype position, qsizetype count)
{
    const qsizetype start = qMax<qsizetype>(position, 1) - 1;
    if (start >= text.size())
        return {};
    return text.mid(start, qMin(count, text.size() - start));
}

class Scanner
{
public:
    explicit Scanner(QStringView text) : m_text(text) {}

    void skipBlanks()
    {
        while (m_pos < m_text.size() && m_text.at(m_pos) == QLatin1Char(' '))
            ++m_pos;
    }
    bool atEnd() const { return m_pos >= m_text.size(); }
    std::optional<int> number()
    {
        skipBlanks();
        int value = 0;
        qsizetype digits = 0;
        while (m_pos < m_text.size() && m_text.at(m_pos).isDigit() && m_text.at(m_pos).unicode() < 128) {
            if (++digits > 4)
                return std::nullopt;
            value = value * 10 + (m_text.at(m_pos++).unicode() - '0');
        }
        if (digits == 0)
            return std::nullopt;
        return value;
    }
    bool take(const QString &literal)
    {
        skipBlanks();
        if (literal.isEmpty() || !m_text.mid(m_pos).startsWith(literal, Qt::CaseInsensitive))
            return false;
        m_pos += literal.size();
        return true;
    }

private:
    QStringView m_text;
    qsizetype m_pos = 0;
};

} // namespace

QString endTimeText(QStringView source)
{
    const qsizetype found = source.indexOf(endTimeMarker);
    const qsizetype a = found < 0 ? 0 : found + 1;
    const QStringView window = copy(source, a + 20, 300);
    const qsizetype c = window.indexOf(QLatin1Char(':')) + 1;
    return copy(source, a + c + 17, 8).toString();
}

std::optional<QTime> parseTimeOfDay(QStringView text, const QString &separator, const DayPeriodTexts &periods)
{
    Scanner scan(text);
    const std::optional<int> hours = scan.number();
    if (!hours)
        return std::nullopt;
    int minutes = 0;
    int seconds = 0;
    if (scan.take(separator)) {
        const std::optional<int> m = scan.number();
        if (!m)
            return std::nullopt;
        minutes = *m;
        if (scan.take(separator)) {
            const std::optional<int> s = scan.number();
            if (!s)
                return std::nullopt;
            seconds = *s;
        }
    }
    int hour = *hours;
    const bool am = scan.take(periods.am) || scan.take(QStringLiteral("AM"));
    const bool pm = !am && (scan.take(periods.pm) || scan.take(QStringLiteral("PM")));
    scan.skipBlanks();
    if (!scan.atEnd())
        return std::nullopt;
    if (am || pm) {
        if (hour > 12)
            return std::nullopt;
        if (am && hour == 12)
            hour = 0;
        else if (pm && hour < 12)
            hour += 12;
    }
    if (hour > 23 || minutes > 59 || seconds > 59)
        return std::nullopt;
    return QTime(hour, minutes, seconds);
}

std::optional<QTime> endTimeOfPage(QStringView source, const QLocale &locale)
{
    return parseTimeOfDay(endTimeText(source), timeSeparator(locale), {locale.amText(), locale.pmText()});
}

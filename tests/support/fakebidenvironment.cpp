#include "fakebidenvironment.h"

FakeBidEnvironment::FakeBidEnvironment()
{
    targets = {{1, textField()}, {2, button()}, {3, button()}};
}

PageTarget FakeBidEnvironment::textField()
{
    PageElement e;
    e.tag = QStringLiteral("input");
    e.id = QStringLiteral("amount");
    return {e};
}

PageTarget FakeBidEnvironment::button()
{
    PageElement e;
    e.tag = QStringLiteral("button");
    e.text = QStringLiteral("Přihodit");
    return {e};
}

PageTarget FakeBidEnvironment::text()
{
    PageElement p;
    p.tag = QStringLiteral("p");
    p.text = QStringLiteral("Konec aukce");
    PageElement body;
    body.tag = QStringLiteral("body");
    return {p, body};
}

void FakeBidEnvironment::note(const QString &line)
{
    if (log)
        log->append(line);
}

void FakeBidEnvironment::setClipboard(const QString &text)
{
    m_clipboard = text;
    note(QStringLiteral("clipboard ") + text);
}

void FakeBidEnvironment::processEvents()
{
    note(QStringLiteral("events"));
    if (onProcessEvents)
        onProcessEvents();
}

void FakeBidEnvironment::sleep(int ms)
{
    note(QStringLiteral("sleep %1").arg(ms));
}

void FakeBidEnvironment::pause(int ms)
{
    m_clock += ms;
    note(QStringLiteral("pause %1").arg(ms));
}

void FakeBidEnvironment::awaitClick()
{
    note(QStringLiteral("await click"));
}

void FakeBidEnvironment::bringWindowForward()
{
    note(QStringLiteral("forward"));
}

void FakeBidEnvironment::alignPage(int position)
{
    note(QStringLiteral("align %1").arg(position));
}

std::optional<QPoint> FakeBidEnvironment::screenPixel(int position)
{
    if (!pixels.contains(position))
        return std::nullopt;
    return pixels.value(position);
}

std::optional<PageTarget> FakeBidEnvironment::targetAt(int position)
{
    note(QStringLiteral("check %1").arg(position));
    if (!pageAnswers)
        return std::nullopt;
    return targets.value(position);
}

std::optional<QString> FakeBidEnvironment::valueAt(int position)
{
    note(QStringLiteral("value %1").arg(position));
    m_clock += checkCost;
    if (onValueRead)
        onValueRead();
    if (!pageAnswers)
        return std::nullopt;
    return fieldValue.value_or(m_clipboard);
}

int FakeBidEnvironment::firstCovered(const QList<QPoint> &points)
{
    QStringList at;
    for (const QPoint &p : points)
        at.append(QStringLiteral("%1,%2").arg(p.x()).arg(p.y()));
    note(QStringLiteral("covered? ") + at.join(QLatin1Char(' ')));
    return covered < points.size() ? covered : -1;
}

bool FakeBidEnvironment::hasKeyboard()
{
    note(QStringLiteral("keyboard?"));
    return keyboard;
}

void FakeBidEnvironment::bidClicked()
{
    note(QStringLiteral("bid clicked"));
}

bool FakeBidEnvironment::awaitConfirmationPage(int ms)
{
    note(QStringLiteral("await page %1").arg(ms));
    return confirmationLoads;
}

bool FakeBidEnvironment::abandoned()
{
    return closed;
}

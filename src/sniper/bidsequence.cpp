#include "sniper/bidsequence.h"

#include "sniper/bidamount.h"
#include "sniper/bidenvironment.h"
#include "sniper/inputsink.h"

namespace {

void moveTo(InputSink &input, QPoint pixel)
{
    // The screen is measured again before every move: a Windows backend needs it for its
    // absolute coordinates, and the screen may have changed since the last move.
    input.screenSize();
    input.moveTo(pixel);
}

void click(InputSink &input, BidEnvironment &env, int position, QPoint at)
{
    input.leftButton(true);
    input.leftButton(false);
    env.note(QStringLiteral("click"), {{"position", position}, {"x", at.x()}, {"y", at.y()}});
}

BidResult failed(BidFailure failure, int position = 0, const QString &detail = QString())
{
    return {failure, position, detail};
}

// Position's pixel and what lies there, checked by rule; the page scrolled to where it was taught.
BidResult checkTarget(BidEnvironment &env, int position, bool (*rule)(const PageTarget &), BidFailure wrong,
                      QPoint *pixel)
{
    const std::optional<QPoint> at = env.screenPixel(position);
    if (!at)
        return failed(BidFailure::NotTaught, position);
    const std::optional<PageTarget> target = env.targetAt(position);
    if (!target) {
        env.note(QStringLiteral("check"), {{"position", position}, {"answer", false}});
        return failed(BidFailure::PageSilent, position);
    }
    const bool fits = rule(*target);
    env.note(QStringLiteral("check"), {{"position", position}, {"found", describeTarget(*target)}, {"ok", fits}});
    if (!fits)
        return failed(wrong, position, describeTarget(*target));
    *pixel = *at;
    return {};
}

BidResult checkUncovered(BidEnvironment &env, const QList<QPoint> &pixels, const QList<int> &positions)
{
    const int covered = env.firstCovered(pixels);
    env.note(QStringLiteral("check windows"), {{"covered", covered < 0 ? QJsonValue() : QJsonValue(positions.value(covered))}});
    return covered < 0 ? BidResult{} : failed(BidFailure::WindowCovered, positions.value(covered));
}

} // namespace

BidResult placeBid(InputSink &input, BidEnvironment &env, const QString &amountText, bool live,
                   bool &keyEchoPending, int passLimit)
{
    env.processEvents();
    const std::optional<QString> amount = positiveAmount(amountText);
    if (!amount)
        return failed(BidFailure::BadAmount, 0, amountText);

    env.bringWindowForward();
    QPoint p1, p2;
    // Position 2 first, so that the page stands where position 1 was taught for the paste.
    if (BidResult r = checkTarget(env, 2, isClickable, BidFailure::NotClickable, &p2); !r.ok())
        return r;
    if (BidResult r = checkTarget(env, 1, isTextField, BidFailure::NotATextField, &p1); !r.ok())
        return r;
    QList<QPoint> guarded{p1, p2};
    QList<int> positions{1, 2};
    if (live) {
        const std::optional<QPoint> p3 = env.screenPixel(3);
        if (!p3)
            return failed(BidFailure::NotTaught, 3);
        guarded.append(*p3);
        positions.append(3);
    }
    if (BidResult r = checkUncovered(env, guarded, positions); !r.ok())
        return r;
    if (env.abandoned())
        return failed(BidFailure::Abandoned);

    env.setClipboard(*amount);
    moveTo(input, p1);
    // On X11 a window manager may hold a click back while it decides on the focus: keys then
    // overtake it, and a second click sent meanwhile can be lost. Each click of the double click
    // is therefore sent once the one before has reached the program.
    for (int i = 0; i < 2; ++i) {
        click(input, env, 1, p1);
        env.awaitClick();
    }
    if (!env.hasKeyboard())
        return failed(BidFailure::NoKeyboard);

    input.key(InputSink::Key::Control, true);
    input.key(InputSink::Key::V, true);
    input.key(InputSink::Key::V, false);
    keyEchoPending = true;
    input.key(InputSink::Key::Control, false);
    env.note(QStringLiteral("pasted"), {{"amount", *amount}});

    int passes = 0;
    while (keyEchoPending && passes <= passLimit && !env.abandoned()) {
        env.sleep(2);
        env.processEvents();
        ++passes;
    }
    if (env.abandoned())
        return failed(BidFailure::Abandoned);
    if (passes > passLimit)
        return failed(BidFailure::KeysNotSeen);

    // The pauses before the bid button are the browser's time; the checks run within them.
    const qint64 echoed = env.clockMs();
    const auto pauseUntil = [&env, echoed](int ms) { env.pause(int(qMax<qint64>(0, echoed + ms - env.clockMs()))); };
    // The browser reports the keys before its page has taken the clipboard's text: the field is
    // read until it holds the amount, for at most the first pause.
    std::optional<QString> value;
    while (true) {
        value = env.valueAt(1);
        if (!value)
            return failed(BidFailure::PageSilent, 1);
        if (value->trimmed() == *amount)
            break;
        env.note(QStringLiteral("field"), {{"value", *value}});
        if (env.clockMs() - echoed >= pasteLandsMs || env.abandoned())
            return failed(BidFailure::AmountNotInField, 1, *value);
        env.pause(20);
    }
    env.note(QStringLiteral("field"), {{"value", *value}});

    pauseUntil(500);
    env.alignPage(2);
    p2 = env.screenPixel(2).value_or(p2);
    moveTo(input, p2);
    pauseUntil(1000);
    if (env.abandoned())
        return failed(BidFailure::Abandoned);
    if (BidResult r = checkUncovered(env, {p2}, {2}); !r.ok())
        return r;
    click(input, env, 2, p2);
    env.bidClicked();
    return {};
}

BidResult executeBid(InputSink &input, BidEnvironment &env)
{
    if (env.abandoned())
        return failed(BidFailure::Abandoned);
    const bool loaded = env.awaitConfirmationPage(confirmationLoadMs);
    env.note(QStringLiteral("confirmation page"), {{"loaded", loaded}});
    if (!loaded)
        return failed(BidFailure::ConfirmationNotLoaded, 3);
    QPoint p3;
    if (BidResult r = checkTarget(env, 3, isClickable, BidFailure::NotClickable, &p3); !r.ok())
        return r;
    if (BidResult r = checkUncovered(env, {p3}, {3}); !r.ok())
        return r;
    moveTo(input, p3);
    click(input, env, 3, p3);
    return {};
}

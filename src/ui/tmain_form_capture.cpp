// The window's part of the position capture: three items at the end of every context menu of
// the browser, each storing the point where the menu was opened and what lies there on the page.
#include "ui/tmain_form.h"

#include "browser/browserpage.h"
#include "browser/browserview.h"
#include "browser/pageprobe.h"
#include "browser/tchromium.h"
#include "sniper/positions.h"
#include "ui/messages.h"

#include <QAction>
#include <QMenu>

namespace {

struct CaptureItem
{
    int commandId;
    const char16_t *caption;
};

const CaptureItem captureItems[] = {
    {101, u"1. Souřadnice - Výše příhozu __ Kč"},
    {102, u"2. Souřadnice - Tlačíto Přihodit na stránce zboží"},
    {103, u"3. Souřadnice - Tlačíto Přihodit na stránce potvrzení příhozu"},
};

} // namespace

void TMain_Form::Chromium1BeforeContextMenu(TChromium *, const ContextMenuParams &, QMenu *model)
{
    model->addSeparator();
    for (const CaptureItem &item : captureItems) {
        // The menu hands an item's data to the command handler as its command id; no shortcut.
        QAction *action = model->addAction(QString::fromUtf16(item.caption));
        action->setData(item.commandId);
    }
}

void TMain_Form::Chromium1ContextMenuCommand(TChromium *, const ContextMenuParams &params, int commandId,
                                             Qt::KeyboardModifiers, bool &result)
{
    if (commandId < 101 || commandId > 103)
        return;
    result = true;
    const int position = commandId - 100;
    // The point where the menu was opened, in screen pixels, where the view stood on the page,
    // and what lies there: the bid finds the spot again from these and checks it.
    const ScreenPoint point{params.screenPixel.x(), params.screenPixel.y()};
    QWebEnginePage *page = Chromium1->page();
    const PageProbe probe(page);
    const PagePlace place{params.viewPos, scrollOffsetFrom(probe.run(scrollOffsetScript()).value_or(QVariant()))};
    const QPointF css = QPointF(params.viewPos) / page->zoomFactor();
    const std::optional<QVariant> answer = probe.run(elementAtScript(css.x(), css.y()));
    const PageTarget target = answer ? pageTargetFrom(*answer) : PageTarget();
    QString error;
    if (!writeTaughtPoint(SettingsPath(), position, point, place, target.value(0), &error)) {
        showMessage(QStringLiteral("Pozice nebyla uložena: %1").arg(error), this);
        return;
    }
    QString message = QStringLiteral("Pozice byly uloženy.");
    const bool fits = position == 1 ? isTextField(target) : isClickable(target);
    if (answer && !fits)
        message += QStringLiteral("\n\nPozor: na tomto místě není %1, leží tu %2.")
                       .arg(position == 1 ? QStringLiteral("textové pole") : QStringLiteral("tlačítko"),
                            describeTarget(target));
    showMessage(message, this);
}

// The window's part of the position capture: three items at the end of every context menu of
// the browser, each storing the screen point where the menu was opened.
#include "ui/tmain_form.h"

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
    // The point where the menu was opened, in screen pixels: where the bid's input will aim.
    const ScreenPoint point{params.screenPixel.x(), params.screenPixel.y()};
    QString error;
    if (!writePosition(SettingsPath(), commandId - 100, point, &error)) {
        showMessage(QStringLiteral("Pozice nebyla uložena: %1").arg(error), this);
        return;
    }
    showMessage(QStringLiteral("Pozice byly uloženy."), this);
}

#include "sniper/pagetarget.h"

#include <QVariantMap>

namespace {

// Walks from the point into frames of the same origin; "el" is what lies there at the end.
const char findElement[] = R"JS(
  var doc = document, el = doc.elementFromPoint(x, y);
  while (el && (el.tagName === 'IFRAME' || el.tagName === 'FRAME')) {
    var inner = null;
    try { inner = el.contentDocument; } catch (e) {}
    if (!inner) break;
    var box = el.getBoundingClientRect();
    x -= box.left + el.clientLeft;
    y -= box.top + el.clientTop;
    doc = inner;
    el = inner.elementFromPoint(x, y);
  }
)JS";

const char describeChain[] = R"JS(
  var out = [];
  for (var e = el, i = 0; e && e.nodeType === 1 && i < 8; e = e.parentElement, i++) {
    var s = e.ownerDocument.defaultView.getComputedStyle(e), r = e.getBoundingClientRect();
    var field = e.tagName === 'INPUT' || e.tagName === 'TEXTAREA';
    var t = field ? (e.value || e.placeholder || '') : (e.innerText || e.textContent || '');
    out.push({tag: e.tagName.toLowerCase(), id: e.id || '', name: e.getAttribute('name') || '',
              type: (e.getAttribute('type') || '').toLowerCase(), role: (e.getAttribute('role') || '').toLowerCase(),
              cursor: s.cursor, text: String(t).replace(/\s+/g, ' ').trim().slice(0, 40),
              href: e.hasAttribute('href'), disabled: e.matches(':disabled'), readOnly: !!e.readOnly,
              editable: !!e.isContentEditable,
              visible: s.visibility === 'visible' && s.display !== 'none' && r.width > 0 && r.height > 0});
  }
  return out;
)JS";

const char readValue[] = R"JS(
  if (!el) return null;
  if (typeof el.value === 'string') return el.value;
  return el.isContentEditable ? el.innerText : null;
)JS";

QString wrap(const char *body, double x, double y)
{
    return QStringLiteral("(function (x, y) {%1})(%2, %3)")
        .arg(QString::fromLatin1(body), QString::number(x, 'f', 1), QString::number(y, 'f', 1));
}

const QStringList textTypes = {QString(), QStringLiteral("text"), QStringLiteral("search"), QStringLiteral("tel"),
                               QStringLiteral("number"), QStringLiteral("url"), QStringLiteral("email"),
                               QStringLiteral("password")};
const QStringList clickableInputTypes = {QStringLiteral("submit"), QStringLiteral("button"), QStringLiteral("image")};

bool clickableItself(const PageElement &e)
{
    return e.tag == QLatin1String("button") || (e.tag == QLatin1String("input") && clickableInputTypes.contains(e.type))
        || (e.tag == QLatin1String("a") && e.hasHref) || e.role == QLatin1String("button")
        || e.cursor == QLatin1String("pointer");
}

} // namespace

bool isTextField(const PageTarget &target)
{
    if (target.isEmpty())
        return false;
    const PageElement &e = target.first();
    if (!e.visible || e.disabled || e.readOnly)
        return false;
    return (e.tag == QLatin1String("input") && textTypes.contains(e.type)) || e.tag == QLatin1String("textarea")
        || e.editable;
}

bool isClickable(const PageTarget &target)
{
    if (target.isEmpty() || !target.first().visible)
        return false;
    for (const PageElement &e : target) {
        if (e.disabled)
            return false;
        if (clickableItself(e))
            return true;
    }
    return false;
}

QString describeElement(const PageElement &e)
{
    QString tag = QLatin1Char('<') + e.tag;
    if (!e.id.isEmpty())
        tag += QStringLiteral(" id=\"%1\"").arg(e.id);
    if (!e.name.isEmpty())
        tag += QStringLiteral(" name=\"%1\"").arg(e.name);
    if (!e.type.isEmpty())
        tag += QStringLiteral(" type=\"%1\"").arg(e.type);
    tag += QLatin1Char('>');
    QString out = QStringLiteral("prvek ") + tag;
    if (!e.text.isEmpty())
        out += QStringLiteral(" s textem „%1“").arg(e.text);
    if (e.disabled)
        out += QStringLiteral(" (zakázaný)");
    else if (!e.visible)
        out += QStringLiteral(" (neviditelný)");
    return out;
}

QString describeTarget(const PageTarget &target)
{
    return target.isEmpty() ? QStringLiteral("nic") : describeElement(target.first());
}

QString elementAtScript(double x, double y, std::optional<QPoint> scroll)
{
    QByteArray body = QByteArray(findElement) + describeChain;
    if (scroll)
        body.prepend(QStringLiteral("window.scrollTo({left: %1, top: %2, behavior: 'instant'});")
                         .arg(scroll->x()).arg(scroll->y()).toLatin1());
    return wrap(body.constData(), x, y);
}

QString valueAtScript(double x, double y)
{
    return wrap((QByteArray(findElement) + readValue).constData(), x, y);
}

QString scrollToScript(double x, double y)
{
    // At once, whatever scrolling behaviour the page's style asks for.
    return QStringLiteral("window.scrollTo({left: %1, top: %2, behavior: 'instant'}); [window.scrollX, window.scrollY]")
        .arg(QString::number(x, 'f', 1), QString::number(y, 'f', 1));
}

QString scrollOffsetScript()
{
    return QStringLiteral("[window.scrollX, window.scrollY]");
}

QPoint scrollOffsetFrom(const QVariant &answer)
{
    const QVariantList xy = answer.toList();
    return QPoint(qRound(xy.value(0).toDouble()), qRound(xy.value(1).toDouble()));
}

PageTarget pageTargetFrom(const QVariant &answer)
{
    PageTarget out;
    for (const QVariant &item : answer.toList()) {
        const QVariantMap m = item.toMap();
        PageElement e;
        e.tag = m.value(QStringLiteral("tag")).toString();
        e.id = m.value(QStringLiteral("id")).toString();
        e.name = m.value(QStringLiteral("name")).toString();
        e.type = m.value(QStringLiteral("type")).toString();
        e.role = m.value(QStringLiteral("role")).toString();
        e.cursor = m.value(QStringLiteral("cursor")).toString();
        e.text = m.value(QStringLiteral("text")).toString().left(40);
        e.hasHref = m.value(QStringLiteral("href")).toBool();
        e.disabled = m.value(QStringLiteral("disabled")).toBool();
        e.readOnly = m.value(QStringLiteral("readOnly")).toBool();
        e.editable = m.value(QStringLiteral("editable")).toBool();
        e.visible = m.value(QStringLiteral("visible"), true).toBool();
        out.append(e);
    }
    return out;
}

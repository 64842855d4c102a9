#pragma once

#include <QList>
#include <QPoint>
#include <QString>

#include <optional>

// What lies under a point of the page: the element the page finds there, then its ancestors,
// as the page's script reports them.
struct PageElement
{
    QString tag;      // lower case: "input", "button", "a", ...
    QString id;
    QString name;
    QString type;     // the type attribute, lower case
    QString role;
    QString cursor;   // the computed cursor
    QString text;     // up to 40 characters of its text
    bool hasHref = false;
    bool disabled = false;
    bool readOnly = false;
    bool editable = false;   // content-editable
    bool visible = true;
    friend bool operator==(const PageElement &, const PageElement &) = default;
};

// The element first, then its ancestors; empty when the point lies on no element at all.
using PageTarget = QList<PageElement>;

// An enabled, visible field that takes typed text: an input of a text-like type, a textarea or
// an editable element.
bool isTextField(const PageTarget &target);

// Something a click acts on: a button, an input of type submit, button or image, a link, an
// element with role "button" or a pointer cursor; the element itself or one of its ancestors
// (a click on the text inside a button is a click on the button), and not disabled.
bool isClickable(const PageTarget &target);

// How the user is told what lies at a point, in Czech: "prvek <input id="amount"> s textem „…“",
// or "nic" for no element.
QString describeTarget(const PageTarget &target);
QString describeElement(const PageElement &element);

// The script that finds what lies at a point of the page's view, in CSS pixels, going into
// frames of the same origin; it evaluates to the list of PageTarget as JSON-like data. With a
// scroll offset, the page is first scrolled there (one trip to the page for both).
QString elementAtScript(double x, double y, std::optional<QPoint> scroll = std::nullopt);
// The value of the text field at a point (the same search); null when there is none.
QString valueAtScript(double x, double y);
// Scrolls the main frame to an offset in CSS pixels; evaluates to the offset then.
QString scrollToScript(double x, double y);
// The main frame's scroll offset, and the script's answer to either as a point.
QString scrollOffsetScript();
QPoint scrollOffsetFrom(const QVariant &answer);

// The script's answer turned into a PageTarget (a QVariantList of maps).
PageTarget pageTargetFrom(const QVariant &answer);

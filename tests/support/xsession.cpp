#include "xsession.h"

#include <QProcess>
#include <QRegularExpression>

namespace xsession {

QString xdotool(const QStringList &args)
{
    QProcess p;
    p.start(QStringLiteral("xdotool"), args);
    p.waitForFinished(15000);
    return QString::fromLocal8Bit(p.readAllStandardOutput());
}

void click(QPoint at, int button, int repeat)
{
    xdotool({QStringLiteral("mousemove"), QString::number(at.x()), QString::number(at.y()), QStringLiteral("sleep"),
             QStringLiteral("0.05"), QStringLiteral("click"), QStringLiteral("--repeat"), QString::number(repeat),
             QString::number(button)});
}

void keys(const QStringList &keys)
{
    xdotool(QStringList{QStringLiteral("key"), QStringLiteral("--delay"), QStringLiteral("40")} + keys);
}

void type(const QString &text)
{
    xdotool({QStringLiteral("type"), QStringLiteral("--delay"), QStringLiteral("8"), text});
}

QStringList windows(const QString &title)
{
    return xdotool({QStringLiteral("search"), QStringLiteral("--onlyvisible"), QStringLiteral("--name"),
                    QStringLiteral("^%1$").arg(QRegularExpression::escape(title))})
        .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

QStringList windowsOf(const QString &name)
{
    return xdotool({QStringLiteral("search"), QStringLiteral("--onlyvisible"), QStringLiteral("--classname"),
                    QStringLiteral("^%1$").arg(QRegularExpression::escape(name))})
        .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

QRect geometry(const QString &window)
{
    // xwininfo, as xdotool counts the frame of a managed window twice.
    QProcess p;
    p.start(QStringLiteral("xwininfo"), {QStringLiteral("-id"), window});
    p.waitForFinished(15000);
    const QString out = QString::fromLocal8Bit(p.readAllStandardOutput());
    auto value = [&out](const char *label) {
        const QRegularExpression re(QStringLiteral("%1:\\s*(-?\\d+)").arg(QLatin1String(label)));
        return re.match(out).captured(1).toInt();
    };
    return QRect(value("Absolute upper-left X"), value("Absolute upper-left Y"), value("Width"), value("Height"));
}

void activate(const QString &window)
{
    xdotool({QStringLiteral("windowactivate"), QStringLiteral("--sync"), window});
}

} // namespace xsession

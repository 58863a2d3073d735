#include "Twips.h"

#include <QApplication>
#include <QFontMetricsF>

namespace {

// Average letter width, in pixels at 96 dpi, of the body font the layouts
// were drawn with, and the point size of that font.
constexpr double kDesignLetterWidth = 5.9;
constexpr double kDesignPoints = 8.25;
// Below this the body text gets hard to read; the layouts grow instead.
constexpr double kSmallestPoints = 7.5;

double gScale = 1.0;
double gPointRatio = 1.0;

double letterWidth(const QFont& f)
{
    static const QString letters = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    return QFontMetricsF(f).horizontalAdvance(letters) / letters.size();
}

}  // namespace

namespace twips {

double scale() { return gScale; }

double designPoints(double points) { return points * gPointRatio; }

void fitToFont()
{
    if (!qobject_cast<QApplication*>(QCoreApplication::instance()))
        return;
    QFont f = QApplication::font();
    double points = f.pointSizeF() > 0 ? f.pointSizeF() : kDesignPoints;
    const double wanted = kDesignLetterWidth * dpiX() / 96.0;
    f.setPointSizeF(points);
    while (letterWidth(f) > wanted && points - 0.25 >= kSmallestPoints) {
        points -= 0.25;
        f.setPointSizeF(points);
    }
    // A font narrower than the design's is taken as it is, at its size.
    QApplication::setFont(f);
    gScale = qMax(1.0, letterWidth(f) / wanted);
    gPointRatio = points / kDesignPoints;
}

}  // namespace twips

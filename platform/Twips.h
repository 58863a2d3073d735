// Window sizes are designed in twips for a compact screen font: 15 twips per
// pixel at 96 dpi, scaled with the screen's logical dpi and with the factor
// that fitToFont() leaves, so that layouts keep their proportions and every
// caption fits the control drawn for it.
#pragma once

#include <QGuiApplication>
#include <QScreen>
#include <QSize>
#include <cmath>

namespace twips {

inline double dpiX()
{
    const QScreen* s = qobject_cast<QGuiApplication*>(QCoreApplication::instance()) ? QGuiApplication::primaryScreen() : nullptr;
    return s ? s->logicalDotsPerInchX() : 96.0;
}
inline double dpiY()
{
    const QScreen* s = qobject_cast<QGuiApplication*>(QCoreApplication::instance()) ? QGuiApplication::primaryScreen() : nullptr;
    return s ? s->logicalDotsPerInchY() : 96.0;
}

// Pixels per designed pixel beyond the dpi (1 until fitToFont() asks more).
double scale();

// Once, before the first window is built: sets the application's font to
// the desktop's family at the size whose letters are as wide as those the
// layouts were drawn for; when that size would be too small to read, keeps
// the smallest readable one and widens every layout by what is left.
void fitToFont();

// The point size that stands for a font size given in a window's design
// (the design's body text is 8.25 points).
double designPoints(double points);

}  // namespace twips

inline int TwipsToPixelsX(double t) { return int(std::lround(t / 15.0 * twips::dpiX() / 96.0 * twips::scale())); }
inline int TwipsToPixelsY(double t) { return int(std::lround(t / 15.0 * twips::dpiY() / 96.0 * twips::scale())); }
inline int PixelsToTwipsX(double px) { return int(std::lround(px * 15.0 * 96.0 / twips::dpiX() / twips::scale())); }
inline int PixelsToTwipsY(double px) { return int(std::lround(px * 15.0 * 96.0 / twips::dpiY() / twips::scale())); }
inline QSize TwipsToPixels(int w, int h) { return QSize(TwipsToPixelsX(w), TwipsToPixelsY(h)); }

// Window sizes are designed in twips: 15 twips per pixel at 96 dpi, scaled
// with the screen's logical dpi so that layouts keep their proportions on
// high-dpi screens.
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

}  // namespace twips

inline int TwipsToPixelsX(double t) { return int(std::lround(t / 15.0 * twips::dpiX() / 96.0)); }
inline int TwipsToPixelsY(double t) { return int(std::lround(t / 15.0 * twips::dpiY() / 96.0)); }
inline int PixelsToTwipsX(double px) { return int(std::lround(px * 15.0 * 96.0 / twips::dpiX())); }
inline int PixelsToTwipsY(double px) { return int(std::lround(px * 15.0 * 96.0 / twips::dpiY())); }
inline QSize TwipsToPixels(int w, int h) { return QSize(TwipsToPixelsX(w), TwipsToPixelsY(h)); }

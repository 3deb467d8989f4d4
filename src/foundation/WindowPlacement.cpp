#include "foundation/WindowPlacement.h"

#include "foundation/IniFile.h"

#include <QGuiApplication>
#include <QScreen>
#include <optional>

namespace kml {
namespace {

std::optional<QRect> g_workArea;

} // namespace

QRect WorkArea() {
    if (!g_workArea) {
        const QScreen* screen = qGuiApp ? QGuiApplication::primaryScreen() : nullptr;
        if (!screen)
            return QRect(0, 0, 1024, 768); // no screen yet: a safe guess, not remembered
        g_workArea = screen->availableGeometry();
    }
    return *g_workArea;
}

void SetWorkArea(const QRect& area) {
    g_workArea = area;
}

void FitIntoWorkArea(const QRect& area, int& left, int& top, int& height, int& width) {
    const int right = area.x() + area.width();
    const int bottom = area.y() + area.height();
    if (left > right)
        left = area.x();
    if (top > bottom)
        top = area.y();
    if (left + width > right) {
        if (width < area.width()) {
            left = right - width;
        } else {
            left = area.x();
            width = area.width();
        }
    }
    if (top + height > bottom) {
        if (height < area.height()) {
            top = bottom - height;
        } else {
            top = area.y();
            height = area.height();
        }
    }
}

bool HasStoredPlace(const QString& windowName) {
    return !IniFilePath().isEmpty() && IniFile(IniFilePath()).hasKey(windowName, QStringLiteral("Left"));
}

void LoadFormPos(const QString& windowName, int& left, int& top) {
    if (IniFilePath().isEmpty()) {
        left = top = 10;
        return;
    }
    const IniFile ini(IniFilePath());
    left = ini.readInt(windowName, QStringLiteral("Left"), 10);
    top = ini.readInt(windowName, QStringLiteral("Top"), 10);
}

void LoadFormBounds(const QString& windowName, int& left, int& top, int& height, int& width) {
    if (IniFilePath().isEmpty()) {
        left = top = 10;
    } else {
        const IniFile ini(IniFilePath());
        left = ini.readInt(windowName, QStringLiteral("Left"), 10);
        top = ini.readInt(windowName, QStringLiteral("Top"), 10);
        width = ini.readInt(windowName, QStringLiteral("Width"), width);
        height = ini.readInt(windowName, QStringLiteral("Height"), height);
    }
    FitIntoWorkArea(WorkArea(), left, top, height, width);
}

void SaveFormPos(const QString& windowName, int left, int top) {
    if (IniFilePath().isEmpty())
        return;
    try {
        IniFile ini(IniFilePath());
        ini.writeInt(windowName, QStringLiteral("Left"), left);
        ini.writeInt(windowName, QStringLiteral("Top"), top);
        ini.save();
    } catch (const std::exception&) {
        // A position that cannot be saved is not worth an error message.
    }
}

void SaveFormBounds(const QString& windowName, int left, int top, int height, int width) {
    if (IniFilePath().isEmpty())
        return;
    IniFile ini(IniFilePath());
    ini.writeInt(windowName, QStringLiteral("Left"), left);
    ini.writeInt(windowName, QStringLiteral("Top"), top);
    ini.writeInt(windowName, QStringLiteral("Width"), width);
    ini.writeInt(windowName, QStringLiteral("Height"), height);
    ini.save();
}

} // namespace kml

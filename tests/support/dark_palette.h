#pragma once

#include <QApplication>
#include <QPalette>

namespace rainbow::tests {

/// A desktop's dark colour scheme: light text on dark window and base colours.
inline QPalette darkPalette()
{
    QPalette dark;
    const QColor window(0x2B, 0x2B, 0x2B);
    const QColor base(0x1E, 0x1E, 0x1E);
    const QColor text(0xEE, 0xEE, 0xEE);
    dark.setColor(QPalette::Window, window);
    dark.setColor(QPalette::WindowText, text);
    dark.setColor(QPalette::Base, base);
    dark.setColor(QPalette::AlternateBase, window);
    dark.setColor(QPalette::Text, text);
    dark.setColor(QPalette::Button, QColor(0x3A, 0x3A, 0x3A));
    dark.setColor(QPalette::ButtonText, text);
    dark.setColor(QPalette::Highlight, QColor(0x2D, 0x6C, 0xB5));
    dark.setColor(QPalette::HighlightedText, Qt::white);
    dark.setColor(QPalette::ToolTipBase, window);
    dark.setColor(QPalette::ToolTipText, text);
    dark.setColor(QPalette::PlaceholderText, QColor(0x90, 0x90, 0x90));
    dark.setColor(QPalette::Light, QColor(0x4A, 0x4A, 0x4A));
    dark.setColor(QPalette::Midlight, QColor(0x40, 0x40, 0x40));
    dark.setColor(QPalette::Mid, QColor(0x30, 0x30, 0x30));
    dark.setColor(QPalette::Dark, QColor(0x18, 0x18, 0x18));
    dark.setColor(QPalette::Shadow, Qt::black);
    for (const auto role : { QPalette::WindowText, QPalette::Text, QPalette::ButtonText })
        dark.setColor(QPalette::Disabled, role, QColor(0x80, 0x80, 0x80));
    return dark;
}

/// Puts a palette on the whole application for as long as it lives.
class ApplicationPalette {
public:
    explicit ApplicationPalette(const QPalette &palette)
        : m_previous(QApplication::palette())
    {
        QApplication::setPalette(palette);
        QApplication::processEvents(); // the widgets learn of it from a posted event
    }
    ~ApplicationPalette()
    {
        QApplication::setPalette(m_previous);
        QApplication::processEvents();
    }
    ApplicationPalette(const ApplicationPalette &) = delete;
    ApplicationPalette &operator=(const ApplicationPalette &) = delete;

private:
    QPalette m_previous;
};

} // namespace rainbow::tests

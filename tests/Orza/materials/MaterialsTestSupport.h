#pragma once

#include "GlazeCore/book/BookTypes.h"
#include "Orza/window/BookWindow.h"

#include <QLayout>
#include <QTest>

#include <string>
#include <utility>

// Set-up the Materials suites share.
namespace MaterialsTest {

inline GlazeCore::Material material(std::string id, std::string name, GlazeCore::Analysis analysis, double loi,
                                    std::string source = {}) {
    return {std::move(id), std::move(name), std::move(analysis), loi, std::move(source)};
}

/// Puts `widget` where the window shows its detail, as the window builds its pages, so that the window's
/// actions and undo keys reach it.
template <class Widget> Widget* placeInDetail(Orza::BookWindow& window, Widget* widget) {
    QWidget* area = window.detail()->parentWidget();
    window.detail()->hide();
    area->layout()->addWidget(widget);
    return widget;
}

/// Types the keys one by one; "\b" is Backspace.
inline void type(QWidget* widget, const QString& keys) {
    for (const QChar key : keys) {
        if (key == QLatin1Char('\b'))
            QTest::keyClick(widget, Qt::Key_Backspace);
        else
            QTest::keyClicks(widget, QString(key));
    }
}

} // namespace MaterialsTest

#pragma once

#include <QApplication>
#include <QDir>
#include <QFont>
#include <QPalette>
#include <QPixmap>
#include <QSize>
#include <QString>
#include <QWidget>

#include <cstdio>

// Shows sheet, lets it paint, and saves its picture as folder/name in PNG. Prints the path
// written, or the reason on stderr; false when nothing was written.
inline bool writeSheet(const QString &folder, const QString &name, QWidget &sheet)
{
    sheet.show();
    QApplication::processEvents();
    const QString path = QDir(folder).filePath(name);
    const QPixmap picture = sheet.grab();
    if (picture.isNull() || !picture.save(path, "PNG")) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return false;
    }
    std::printf("%s\n", qPrintable(path));
    return true;
}

// A sheet styled as the main window hosts the front panel: size (the panel's by default),
// black, white text, bold 14-pixel Arial.
inline void styleFrontPanel(QWidget *host, const QSize &size = QSize(800, 480))
{
    host->setFixedSize(size);
    QPalette p = host->palette();
    p.setColor(QPalette::Window, Qt::black);
    p.setColor(QPalette::WindowText, Qt::white);
    host->setPalette(p);
    host->setAutoFillBackground(true);
    QFont f(QStringLiteral("Arial"));
    f.setWeight(QFont::Bold);
    f.setPixelSize(14);
    host->setFont(f);
}

// One page of the window on its own sheet (the window shows the login page underneath).
inline bool writePage(const QString &folder, const QString &name, QWidget *page)
{
    // The stack lays out only the page it shows.
    page->setGeometry(0, 0, 800, 480);
    page->show();
    page->raise();
    return writeSheet(folder, name, *page);
}

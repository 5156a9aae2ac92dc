#include "app/about/Form4.h"

#include <QDir>
#include <QFont>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QWindow>

#include "app/widgets/Twips.h"
#include "common/FileNames.h"
#include "app/logging/AppLogging.h"

namespace caltrix {

Form4::Form4(const QString& programFolder, QWidget* parent) : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint) {
    setFixedSize(TwipsToPixels(3960), TwipsToPixels(4545));

    m_label1 = new QLabel(this);
    m_label1->setObjectName(QStringLiteral("Label1"));
    m_label1->setGeometry(TwipsRect(1215, 825, 1455, 195));
    m_label1->setAlignment(Qt::AlignCenter);
    // The classic system font, as designed: the desktop's default is wider
    // and cut the version comment off at both ends.
    QFont systemFont(QStringLiteral("MS Sans Serif"));
    systemFont.setPointSizeF(LayoutPoints(8.25));
    m_label1->setFont(systemFont);
    m_label1->setAutoFillBackground(true);
    QPalette colours = m_label1->palette();
    colours.setColor(QPalette::Window, Qt::black);
    colours.setColor(QPalette::WindowText, QColor(0, 255, 0));
    m_label1->setPalette(colours);

    LoadBackground(QDir(programFolder).filePath(QLatin1StringView(kAboutPictureName)));
    Centra();
    m_label1->setText(QString::fromLatin1(kVersionComment));
}

void Form4::ShowAbout(const QString& programFolder, QWidget* parent) {
    Form4 box(programFolder, parent);
    box.exec();
}

void Form4::LoadBackground(const QString& path) {
    if (!m_background.load(path)) {
        qCWarning(lcShell).noquote() << "about box shown without its picture: cannot read" << path;
    }
}

void Form4::Centra() {
    const QScreen* screenNow = screen() != nullptr ? screen() : QGuiApplication::primaryScreen();
    if (screenNow == nullptr) return;
    const QRect area = screenNow->geometry();
    move(area.x() + (area.width() - width()) / 2, area.y() + (area.height() - height()) / 2);
}

void Form4::paintEvent(QPaintEvent* event) {
    QDialog::paintEvent(event);
    if (m_background.isNull()) return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawPixmap(QRectF(QPointF(0, 0), QSizeF(m_background.size()) * LayoutScale()), m_background,
                       QRectF(m_background.rect()));
}

void Form4::keyPressEvent(QKeyEvent* event) {
    // Only Esc does something; no other key may reach the dialog's own handling.
    if (event->key() == Qt::Key_Escape) reject();
    event->accept();
}

void Form4::mouseDoubleClickEvent(QMouseEvent* event) {
    event->accept();
    accept();
}

void Form4::mouseMoveEvent(QMouseEvent* event) {
    if (event->buttons() != Qt::LeftButton) {
        m_presa.reset();
        return;
    }
    const QPoint mouse = event->globalPosition().toPoint();
    if (!m_presa) {
        // The window system moves the box itself when it can; otherwise follow the mouse.
        if (windowHandle() != nullptr && windowHandle()->startSystemMove()) return;
        m_presa = mouse - pos();
    }
    move(mouse - *m_presa);
}

void Form4::mouseReleaseEvent(QMouseEvent* event) {
    m_presa.reset();
    QDialog::mouseReleaseEvent(event);
}

}  // namespace caltrix

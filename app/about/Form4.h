// The about box: a borderless skinned box showing the program's version
// comment over the picture MaskMenuVuotoNew.jpg, centred on the screen, closed
// by a double click or Esc and dragged with the left mouse button.
#pragma once

#include <QDialog>
#include <QPixmap>
#include <QPoint>

#include <optional>

class QLabel;

namespace caltrix {

class Form4 : public QDialog {
    Q_OBJECT

public:
    static constexpr const char* kVersionComment = "Lumetra 0.1 Beta";

    // Loads the box: background from `programFolder`/MaskMenuVuotoNew.jpg
    // (a missing or unreadable picture is logged and the box shows without
    // it), centred on the screen, version comment in Label1.
    explicit Form4(const QString& programFolder, QWidget* parent = nullptr);

    // Creates the box, shows it modally and destroys it when it is closed.
    static void ShowAbout(const QString& programFolder, QWidget* parent);

    QLabel* Label1() const { return m_label1; }
    bool HasBackground() const { return !m_background.isNull(); }

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void LoadBackground(const QString& path);
    void Centra();

    QPixmap m_background;
    QLabel* m_label1 = nullptr;
    std::optional<QPoint> m_presa;  // where the box is held while moving it ourselves
};

}  // namespace caltrix

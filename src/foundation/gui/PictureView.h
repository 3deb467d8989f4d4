#pragma once

#include <QImage>
#include <QString>
#include <QWidget>

namespace kml {

// Shows one picture file: read afresh at every showFile (a file replaced a
// moment ago shows its new content); a missing or unreadable file shows the
// placeholder instead. A picture that fits is drawn at its own size, a
// larger one fitted by the smaller of the two ratios; either centred in the
// widget below a gap at the top.
class PictureView final : public QWidget {
    Q_OBJECT
public:
    explicit PictureView(QWidget* parent = nullptr);

    void showFile(const QString& file);
    // The empty frame "Nincs kép".
    static QImage Placeholder();

    bool showsPlaceholder() const { return m_placeholder; }
    const QImage& picture() const { return m_picture; }
    // Where the picture is drawn at the widget's present size.
    QRect pictureRect() const;
    void setTopGap(int pixels);

    QSize sizeHint() const override { return {320, 260}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage m_picture;
    bool m_placeholder = true;
    int m_topGap = 10;
};

} // namespace kml

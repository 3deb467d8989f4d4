#pragma once

#include "services/MakerServices.h"

#include <QDialog>

class QCheckBox;
class QLabel;
class QPushButton;

namespace kml {

// "Hírek", not modal: the news title in bold, its text, "Részletek:" with
// the details address as a link, the check box "Többet ne mutassa" and
// "OK". Every text is shown as plain text. The window keeps its place and
// size in the ini file and is destroyed when it closes.
class Tfrm_Hirfolyam final : public QDialog {
    Q_OBJECT
public:
    Tfrm_Hirfolyam(const NewsItem& news, const QString& detailsAddress, QWidget* parent = nullptr);

    // ShowNewsWindow.
    static void Show(const NewsItem& news, const QString& detailsAddress);

    QLabel* titleLabel() const { return m_title; }
    QLabel* textLabel() const { return m_text; }
    QPushButton* detailsLink() const { return m_link; }
    QCheckBox* dontShow() const { return m_dontShow; }

protected:
    void showEvent(QShowEvent* event) override;
    void done(int result) override;

private:
    NewsItem m_news;
    QString m_address;
    QLabel* m_title = nullptr;
    QLabel* m_text = nullptr;
    QPushButton* m_link = nullptr;
    QCheckBox* m_dontShow = nullptr;
    bool m_placed = false;
};

// A flat button that reads as an underlined link; its text is never markup.
QPushButton* NewLinkButton(const QString& text, QWidget* parent = nullptr);

} // namespace kml

#include "app/about_form.h"

#include "quarvel/version.h"

#include <QFrame>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QPushButton>
#include <cmath>
#include <numbers>

namespace quarvel {

namespace {

// A sediment core in brown bands beside a chirp wiggle: the program's emblem.
QPixmap emblem() {
    constexpr int Size = 64;
    QPixmap picture(Size, Size);
    picture.fill(Qt::white);
    QPainter painter(&picture);
    const QColor bands[] = {QColor(0x8b, 0x6b, 0x3d), QColor(0xc8, 0xa8, 0x6e),
                            QColor(0x6e, 0x55, 0x33), QColor(0xb0, 0x90, 0x5a)};
    for (int i = 0; i < 8; ++i)
        painter.fillRect(8, 4 + i * 7, 16, 7, bands[i % 4]);
    painter.setPen(Qt::black);
    painter.drawRect(8, 4, 15, 55);

    QPainterPath wiggle;
    wiggle.moveTo(46, 4);
    for (int y = 4; y < 60; ++y) {
        const double phase = (y - 4) * (y - 4) / 500.0;
        wiggle.lineTo(46 + 10 * std::sin(2 * std::numbers::pi * phase), y);
    }
    painter.setRenderHint(QPainter::Antialiasing);
    painter.drawPath(wiggle);
    return picture;
}

} // namespace

TAboutForm::TAboutForm() {
    setObjectName(QStringLiteral("AboutBox"));
    const QString version =
        QString::fromUtf8(Version.data(), static_cast<qsizetype>(Version.size()));
    setWindowTitle(QStringLiteral("Version %1").arg(version));
    // Stays above the workspace without holding it up.
    setWindowFlags(Qt::Tool | Qt::WindowStaysOnTopHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    setModal(false);
    setFixedSize(298, 178);

    auto* picture = new QLabel(this);
    picture->setObjectName(QStringLiteral("ProgramIcon"));
    picture->setPixmap(emblem());
    picture->setGeometry(16, 16, 64, 64);

    auto* text = new QLabel(this);
    text->setObjectName(QStringLiteral("Panel1"));
    text->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    text->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    text->setMargin(6);
    text->setWordWrap(true);
    text->setText(QStringLiteral("Quarvel\nVersion %1\n\nTies a sediment core to a chirp "
                                 "sub-bottom seismic record.")
                      .arg(version));
    text->setGeometry(96, 16, 186, 100);

    auto* accept = new QPushButton(QStringLiteral("accept"), this);
    accept->setObjectName(QStringLiteral("OKButton"));
    accept->setGeometry(111, 132, 75, 25);
    accept->setDefault(true);
    connect(accept, &QPushButton::clicked, this, &QWidget::hide);
}

} // namespace quarvel

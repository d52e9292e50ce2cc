#include "app/FrmSplash.h"

#include "app/ProgramArt.h"

#include "core/Messages.h"

#include <QFrame>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QScreen>
#include <QVBoxLayout>

bool SplashShown = false;

FrmSplash::FrmSplash(QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setObjectName(QStringLiteral("frmSplash"));
    setAccessibleName(ApplicationTitle());
    setWindowTitle(tr("Starting Fretlore"));
    setStyleSheet(QStringLiteral("#Frame1 { background: #fbf8f0; border: 2px solid #6b4226; border-radius: 8px; }"
                                 "QLabel { color: #3b2a1e; }"));

    Frame1 = new QFrame(this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(Frame1);

    imgLogo = new QLabel(Frame1);
    imgLogo->setPixmap(DrawProgramIcon(96, devicePixelRatioF()));
    lblProductName = new QLabel(ApplicationTitle(), Frame1);
    QFont titleFont = lblProductName->font();
    titleFont.setPointSize(titleFont.pointSize() * 2 + 4);
    titleFont.setBold(true);
    lblProductName->setFont(titleFont);
    lblVersion = new QLabel(tr("Version") + QLatin1Char(' ') + QStringLiteral(FRETLORE_VERSION), Frame1);
    lblCompany = new QLabel(tr("Please use the Help to get started."), Frame1);
    lblPlatform = new QLabel(tr("For the Linux desktop"), Frame1);
    lblCopyright = new QLabel(tr("Copyright \u00A9 2026 the Fretlore developers"), Frame1);
    lblMaker = new QLabel(tr("Fretlore - learn the notes of the fretboard"), Frame1);
    for (QLabel* small : {lblPlatform, lblCopyright, lblMaker}) {
        QFont font = small->font();
        font.setPointSizeF(font.pointSizeF() * 0.85);
        small->setFont(font);
    }

    auto* text = new QVBoxLayout;
    text->addWidget(lblProductName);
    text->addWidget(lblVersion);
    text->addSpacing(8);
    text->addWidget(lblCompany);
    text->addStretch();
    text->addWidget(lblPlatform);
    text->addWidget(lblCopyright);
    text->addWidget(lblMaker);
    auto* row = new QHBoxLayout(Frame1);
    row->setContentsMargins(20, 20, 24, 16);
    row->setSpacing(20);
    row->addWidget(imgLogo, 0, Qt::AlignTop);
    row->addLayout(text);
    setFixedSize(460, 220);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->geometry().center() - rect().center());
}

void FrmSplash::Unload()
{
    close();
}

void FrmSplash::keyPressEvent(QKeyEvent*)
{
    Unload();
}

void FrmSplash::mousePressEvent(QMouseEvent*)
{
    Unload();
}

void FrmSplash::paintEvent(QPaintEvent* event)
{
    SplashShown = true;
    QWidget::paintEvent(event);
}

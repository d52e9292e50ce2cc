#include "app/FrmTip.h"

#include "app/ProgramArt.h"
#include "app/TipSettings.h"
#include "core/Paths.h"

#include <QCheckBox>
#include <QFile>
#include <QFileInfo>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

const QString kTipsFileName = QStringLiteral("TIPOFDAY.TXT");

// Every line is a tip, an empty one too; the line break after the last line does
// not start another. Lines may end in CR LF or LF.
QStringList SplitTipLines(const QString& text)
{
    if (text.isEmpty())
        return {};
    QStringList lines = text.split(QLatin1Char('\n'));
    if (text.endsWith(QLatin1Char('\n')))
        lines.removeLast();
    for (QString& line : lines)
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
    return lines;
}

} // namespace

FrmTip::FrmTip(QWidget* parent, const QString& tipsPath)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("FrmTip"));
    if (ReadShowTipsAtStartup() == 0) {
        boolUnloadedAtLoad = true;
        return;
    }
    BuildControls();
    chkLoadTipsAtStartup->setChecked(true);
    if (!LoadTips(tipsPath))
        ShowMissingFileText();
}

QString FrmTip::DefaultTipsPath()
{
    return ProgramDataPath(kTipsFileName);
}

void FrmTip::BuildControls()
{
    setWindowTitle(tr("Tip of the Day"));
    setWindowIcon(ProgramIcon());

    auto* panel = new QFrame(this);
    panel->setObjectName(QStringLiteral("tipPanel"));
    panel->setFrameShape(QFrame::StyledPanel);
    panel->setAutoFillBackground(true);
    panel->setBackgroundRole(QPalette::Base);

    Picture1 = new QLabel(panel);
    Picture1->setObjectName(QStringLiteral("Picture1"));
    Picture1->setPixmap(DrawTipPicture(56, devicePixelRatioF()));
    Picture1->setAlignment(Qt::AlignTop | Qt::AlignHCenter);

    Label1 = new QLabel(tr("Did you know..."), panel);
    Label1->setObjectName(QStringLiteral("Label1"));
    QFont headingFont = Label1->font();
    headingFont.setPointSizeF(headingFont.pointSizeF() * 1.6);
    headingFont.setBold(true);
    Label1->setFont(headingFont);

    auto* rule = new QFrame(panel);
    rule->setFrameShape(QFrame::HLine);
    rule->setFrameShadow(QFrame::Sunken);

    lblTipText = new QLabel(panel);
    lblTipText->setObjectName(QStringLiteral("lblTipText"));
    lblTipText->setWordWrap(true);
    lblTipText->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    lblTipText->setTextFormat(Qt::PlainText);
    lblTipText->setTextInteractionFlags(Qt::TextSelectableByMouse);
    lblTipText->setMinimumHeight(110);
    QFont tipFont = lblTipText->font();
    tipFont.setPointSizeF(tipFont.pointSizeF() * 1.1);
    lblTipText->setFont(tipFont);

    auto* textColumn = new QVBoxLayout;
    textColumn->addWidget(Label1);
    textColumn->addWidget(rule);
    textColumn->addWidget(lblTipText, 1);

    auto* panelLayout = new QHBoxLayout(panel);
    panelLayout->setContentsMargins(16, 16, 16, 16);
    panelLayout->setSpacing(16);
    panelLayout->addWidget(Picture1, 0, Qt::AlignTop);
    panelLayout->addLayout(textColumn, 1);

    chkLoadTipsAtStartup = new QCheckBox(tr("&Show Tips at Startup"), this);
    chkLoadTipsAtStartup->setObjectName(QStringLiteral("chkLoadTipsAtStartup"));
    cmdNextTip = new QPushButton(tr("&Next Tip"), this);
    cmdNextTip->setObjectName(QStringLiteral("cmdNextTip"));
    cmdOK = new QPushButton(tr("OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setDefault(true);

    auto* buttonRow = new QHBoxLayout;
    buttonRow->addWidget(chkLoadTipsAtStartup);
    buttonRow->addStretch(1);
    buttonRow->addWidget(cmdNextTip);
    buttonRow->addWidget(cmdOK);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(panel, 1);
    layout->addLayout(buttonRow);
    resize(500, 280);

    // Unchecking must reach the store at once, even if the window is then killed.
    connect(chkLoadTipsAtStartup, &QCheckBox::clicked, this,
            [](bool checked) { StoreShowTipsAtStartup(checked); });
    connect(cmdNextTip, &QPushButton::clicked, this, &FrmTip::DoNextTip);
    connect(cmdOK, &QPushButton::clicked, this, &QDialog::accept);
}

bool FrmTip::LoadTips(const QString& path)
{
    if (path.isEmpty() || !QFileInfo::exists(path))
        return false;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    Tips = SplitTipLines(QString::fromUtf8(file.readAll()));
    file.close();
    DoNextTip();
    return true;
}

void FrmTip::DoNextTip()
{
    ++CurrentTip;
    if (CurrentTip > Tips.size())
        CurrentTip = 1;
    DisplayCurrentTip();
}

void FrmTip::DisplayCurrentTip()
{
    if (!Tips.isEmpty() && lblTipText)
        lblTipText->setText(Tips.at(CurrentTip - 1));
}

QString FrmTip::TipText() const
{
    return lblTipText ? lblTipText->text() : QString();
}

void FrmTip::ShowMissingFileText()
{
    lblTipText->setText(tr("That the ") + kTipsFileName + tr(" file was not found? ") +
                        QStringLiteral("\n\n") + tr("Create a text file named ") + kTipsFileName +
                        tr(" using NotePad with 1 tip per line. ") +
                        tr("Then place it in the same directory as the application. "));
}

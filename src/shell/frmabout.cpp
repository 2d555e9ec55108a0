#include "shell/frmabout.h"

#include "platform/appicon.h"
#include "platform/desktop.h"
#include "shell/version.h"
#include "window/design.h"

#include <QCloseEvent>
#include <QLabel>
#include <QPushButton>
#include <QTextEdit>
#include <algorithm>
#include <cmath>

namespace {

// The box is designed in twips, like the window.
constexpr QSize designClient{twips(3240), twips(2265)};
constexpr QRect iconDesign = twips(240, 240, 540, 540);
constexpr QRect titleDesign = twips(1080, 240, 1965, 360);
constexpr QRect versionDesign = twips(1080, 600, 1965, 225);
constexpr QRect textDesign = twips(120, 960, 3015, 735);
constexpr QRect okDesign = twips(960, 1800, 1260, 345);

// The gaps the design leaves between the controls and around them.
constexpr int gapAboveText = textDesign.top() - versionDesign.bottom() - 1;
constexpr int gapAboveOk = okDesign.top() - textDesign.bottom() - 1;
constexpr int marginBelow = designClient.height() - okDesign.bottom() - 1;
constexpr int marginRight = designClient.width() - textDesign.right() - 1;

const QString contacts = QStringLiteral(
    "© 2026 Разработчики Mervel\n"
    "Эл. почта: team@mervel.example\n"
    "Сайт: https://mervel.example");

// Makes the control at least as large as needed, keeping its top left corner.
void grow(QWidget* control, QSize needed) {
    control->resize(control->size().expandedTo(needed));
}

}  // namespace

frmAbout::frmAbout()
    : QDialog(nullptr, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint) {
    // Closing unloads: the next About command builds the box afresh.
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowIcon(applicationIcon());

    picIcon = new QLabel(this);
    picIcon->setGeometry(iconDesign);
    picIcon->setAlignment(Qt::AlignCenter);
    picIcon->setPixmap(applicationIcon().pixmap(32, 32));
    picIcon->setAccessibleName(QStringLiteral("Значок Mervel"));

    lblTitle = new QLabel(this);
    lblTitle->setGeometry(titleDesign);
    lblVersion = new QLabel(this);
    lblVersion->setGeometry(versionDesign);

    Text1 = new QTextEdit(this);
    Text1->setPlainText(contacts);
    Text1->setGeometry(textDesign);
    Text1->setReadOnly(true);
    // A caret the arrows move, so a screen reader reads the contacts line by line.
    Text1->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    Text1->setAccessibleName(QStringLiteral("Контакты"));  // a screen reader names the box
    Text1->setLineWrapMode(QTextEdit::NoWrap);
    // The box is made as large as its three lines: scroll bars would only eat into it.
    Text1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Text1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    QPalette palette = Text1->palette();
    palette.setColor(QPalette::Base, palette.color(QPalette::Button));
    Text1->setPalette(palette);

    cmdOK = new QPushButton(QStringLiteral("OK"), this);
    cmdOK->setGeometry(okDesign);
    cmdOK->setDefault(true);
    cmdOK->setFocus();
    connect(cmdOK, &QPushButton::clicked, this, &frmAbout::cmdOK_Click);

    setFixedSize(designClient);
}

void frmAbout::Form_Load() {
    setWindowTitle(QStringLiteral("О программе ") + applicationTitle());
    lblVersion->setText(QStringLiteral("Версия " MERVEL_VERSION));
    lblTitle->setText(applicationTitle());
    // A screen reader reads the box's short labels only through its description.
    setAccessibleDescription(applicationTitle() + QStringLiteral(", версия " MERVEL_VERSION));
    fitGeometry();
}

void frmAbout::cmdOK_Click() {
    close();
}

// Escape presses OK, as a cancel button would.
void frmAbout::reject() {
    cmdOK->click();
}

// QDialog would turn the close box into a reject(); here it simply unloads, like OK.
void frmAbout::closeEvent(QCloseEvent* event) {
    event->accept();
}

// Where the font needs more room than the design gives, the controls grow (and those below or
// beside them move along) rather than clip their text.
void frmAbout::fitGeometry() {
    grow(lblTitle, lblTitle->sizeHint());
    lblVersion->move(lblVersion->x(), std::max(lblVersion->y(), lblTitle->geometry().bottom() + 1));
    grow(lblVersion, lblVersion->sizeHint());

    Text1->move(Text1->x(),
                std::max(Text1->y(), lblVersion->geometry().bottom() + 1 + gapAboveText));
    const QSizeF text = Text1->document()->size();  // unwrapped: as wide as the longest line
    const int frame = 2 * Text1->frameWidth();
    grow(Text1, {static_cast<int>(std::ceil(text.width())) + frame,
                 static_cast<int>(std::ceil(text.height())) + frame});

    const int right = std::max(
        {lblTitle->geometry().right(), lblVersion->geometry().right(), Text1->geometry().right()});
    const int width = std::max(designClient.width(), right + 1 + marginRight);
    grow(cmdOK, cmdOK->sizeHint());
    cmdOK->move(okDesign.x() + (width - designClient.width()) / 2,
                Text1->geometry().bottom() + 1 + gapAboveOk);
    setFixedSize(width,
                 std::max(designClient.height(), cmdOK->geometry().bottom() + 1 + marginBelow));
}

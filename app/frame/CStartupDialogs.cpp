#include "app/frame/CStartupDialogs.h"

#include <filesystem>

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QFrame>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>

#include "app/TextViewerFile.h"
#include "app/frame/ProgramArt.h"
#include "database/DataSource.h"
#include "platform/profile/Profile.h"
#include "platform/widgets/QtText.h"
#include "shared/view/MfxFontQt.h"

using tvane::ToQString;

namespace {

QLabel* PictureLabel(QWidget* parent, int width, int height) {
    auto* label = new QLabel(parent);
    label->setPixmap(ProgramPicture(width, height));
    label->setFrameShape(QFrame::Panel);
    label->setFrameShadow(QFrame::Sunken);
    return label;
}

QHBoxLayout* ButtonRow(QVBoxLayout* layout) {
    auto* row = new QHBoxLayout;
    row->addStretch(1);
    layout->addLayout(row);
    return row;
}

} // namespace

// --- Welcome ------------------------------------------------------------------

CWelcomeDialog::CWelcomeDialog(bool instrumentAvailable, QWidget* parent) : QDialog(parent) {
    setWindowTitle("Welcome to Tallyvane");
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(PictureLabel(this, 180, 150));
    auto* right = new QVBoxLayout;
    layout->addLayout(right);
    auto* box = new QGroupBox("What would you like to do?", this);
    auto* radios = new QVBoxLayout(box);
    const char* texts[3] = {"Create a new setup", "Create a new setup from instrument upload ",
                            "Open an existing setup"};
    auto* group = new QButtonGroup(this);
    for (int i = 0; i < 3; ++i) {
        m_radios[i] = new QRadioButton(texts[i], box);
        m_radios[i]->setObjectName(QString::number(1042 + i));
        group->addButton(m_radios[i], i);
        radios->addWidget(m_radios[i]);
    }
    m_radios[0]->setChecked(true);
    m_radios[1]->setEnabled(instrumentAvailable);
    right->addWidget(box);
    right->addStretch(1);
    QHBoxLayout* buttons = ButtonRow(right);
    auto* ok = new QPushButton("OK", this);
    ok->setDefault(true);
    auto* cancel = new QPushButton("Cancel", this);
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    connect(ok, &QPushButton::clicked, this, &CWelcomeDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &CWelcomeDialog::reject);
    ApplyDialogFont(this);
}

void CWelcomeDialog::accept() {
    m_choice = 0;
    for (int i = 0; i < 3; ++i)
        if (m_radios[i]->isChecked())
            m_choice = i;
    QDialog::accept();
}

// --- Tip of the Day -------------------------------------------------------------

namespace {

// The tip area: white, the bulb and the heading on its left.
class TipArea final : public QFrame {
public:
    explicit TipArea(QWidget* parent) : QFrame(parent) {
        setFrameShape(QFrame::Panel);
        setFrameShadow(QFrame::Sunken);
        setAutoFillBackground(true);
        QPalette palette = this->palette();
        palette.setColor(QPalette::Window, Qt::white);
        setPalette(palette);
        setMinimumSize(400, 160);
    }

protected:
    void paintEvent(QPaintEvent* event) override {
        QFrame::paintEvent(event);
        QPainter p(this);
        p.drawPixmap(12, 12, TipBulbPicture());
        QFont font = p.font();
        font.setBold(true);
        // The dialog font is set by its height in pixels, as the font record
        // keeps it; such a font has no point size to scale.
        if (font.pixelSize() > 0)
            font.setPixelSize(qRound(font.pixelSize() * 1.4));
        else
            font.setPointSizeF(font.pointSizeF() * 1.4);
        p.setFont(font);
        p.drawText(QRect(64, 12, width() - 76, 48), Qt::AlignVCenter | Qt::TextSingleLine,
                   TipOfDay::kHeading);
    }
};

} // namespace

CTipOfDayDialog::CTipOfDayDialog(TipOfDay& tips,
                                 std::function<void(const std::string&)> setPreference,
                                 QWidget* parent)
    : QDialog(parent), m_tips(tips), m_setPreference(std::move(setPreference)) {
    setWindowTitle("Tip of the Day");
    auto* layout = new QVBoxLayout(this);
    auto* area = new TipArea(this);
    auto* areaLayout = new QVBoxLayout(area);
    areaLayout->setContentsMargins(64, 64, 12, 12);
    m_tip = new QLabel(area);
    m_tip->setWordWrap(true);
    m_tip->setTextFormat(Qt::PlainText);
    m_tip->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    areaLayout->addWidget(m_tip, 1);
    layout->addWidget(area, 1);
    auto* row = new QHBoxLayout;
    m_show = new QCheckBox("&Show Tips on StartUp", this);
    row->addWidget(m_show);
    row->addStretch(1);
    m_next = new QPushButton("&Next Tip", this);
    auto* close = new QPushButton("&Close", this);
    close->setDefault(true);
    row->addWidget(m_next);
    row->addWidget(close);
    layout->addLayout(row);
    m_show->setChecked(m_tips.ShowAtStartup());
    m_tip->setText(ToQString(m_tips.Tip()).trimmed());
    m_next->setEnabled(m_tips.IsOpen());
    connect(m_show, &QCheckBox::toggled, this, [this](bool on) { m_tips.SetShowAtStartup(on); });
    connect(m_next, &QPushButton::clicked, this, [this] {
        m_tips.NextTip();
        m_tip->setText(ToQString(m_tips.Tip()).trimmed());
    });
    connect(close, &QPushButton::clicked, this, &CTipOfDayDialog::accept);
    ApplyDialogFont(this);
    resize(460, 260);
}

void CTipOfDayDialog::accept() {
    if (m_setPreference)
        m_setPreference(m_tips.PreferenceValue());
    QDialog::accept();
}

// --- About --------------------------------------------------------------------

CAboutDialog::CAboutDialog(const std::string& programDirectory, QWidget* parent) : QDialog(parent) {
    setWindowTitle("About Tallyvane");
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(PictureLabel(this, 180, 150), 0, Qt::AlignTop);
    auto* right = new QVBoxLayout;
    layout->addLayout(right);
    right->addWidget(new QLabel("Tallyvane data logging for the QT7100", this));
    auto* version = new QLabel(QString("Version %1").arg(kVersion), this);
    version->setObjectName("1320");
    right->addWidget(version);
    right->addSpacing(8);
    right->addWidget(new QLabel("This product is licensed to:", this));
    for (const char* key : {"User1", "User2"}) {
        auto* user = new QLabel(
            ToQString(tvane::GetPrivateProfileString("Settings", key, "", kProfileFile)), this);
        user->setTextFormat(Qt::PlainText);
        user->setObjectName(key);
        right->addWidget(user);
    }
    right->addStretch(1);
    QHBoxLayout* buttons = ButtonRow(right);
    m_notes = new QPushButton("&Release Notes...", this);
    auto* ok = new QPushButton("OK", this);
    ok->setDefault(true);
    buttons->addWidget(m_notes);
    buttons->addWidget(ok);
    const std::string notes = (std::filesystem::path(programDirectory) / kNotesFile).string();
    connect(m_notes, &QPushButton::clicked, this, [this, notes] {
        CTextViewerDialog viewer(notes, this);
        viewer.exec();
    });
    connect(ok, &QPushButton::clicked, this, &CAboutDialog::accept);
    ApplyDialogFont(this);
}

CTextViewerDialog::CTextViewerDialog(const std::string& path, QWidget* parent) : QDialog(parent) {
    setWindowTitle("Release Notes");
    auto* layout = new QVBoxLayout(this);
    m_text = new QPlainTextEdit(this);
    m_text->setReadOnly(true);
    m_text->setObjectName("1317");
    m_text->setPlainText(ToQString(ReadViewerText(path)));
    layout->addWidget(m_text, 1);
    QHBoxLayout* buttons = ButtonRow(layout);
    auto* ok = new QPushButton("OK", this);
    ok->setDefault(true);
    buttons->addWidget(ok);
    connect(ok, &QPushButton::clicked, this, &CTextViewerDialog::accept);
    ApplyDialogFont(this);
    resize(520, 400);
}

// --- Splash -------------------------------------------------------------------

namespace {
CSplashWnd* s_splash = nullptr;
bool s_splashEnabled = false;
} // namespace

void CSplashWnd::EnableSplashScreen(bool enable) {
    s_splashEnabled = enable;
}

CSplashWnd* CSplashWnd::Instance() {
    return s_splash;
}

void CSplashWnd::ShowSplashScreen(QWidget* parent) {
    if (!s_splashEnabled || s_splash != nullptr || !QApplication::instance())
        return;
    s_splash = new CSplashWnd;
    if (parent)
        s_splash->setParent(parent, s_splash->windowFlags());
    s_splash->show();
    s_splash->update();
}

void CSplashWnd::HideSplashScreen() {
    if (s_splash == nullptr)
        return;
    CSplashWnd* splash = s_splash;
    s_splash = nullptr;
    delete splash;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->isVisible() && w->inherits("QMainWindow"))
            w->update();
}

CSplashWnd::CSplashWnd()
    : QWidget(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      m_picture(SplashPicture()) {
    setAttribute(Qt::WA_NoSystemBackground);
    setFixedSize(m_picture.size());
    setCursor(Qt::ArrowCursor);
    if (QScreen* screen = QApplication::primaryScreen())
        move(screen->geometry().center() - rect().center());
    m_timer = new QTimer(this);
    m_timer->setSingleShot(true);
    connect(m_timer, &QTimer::timeout, [] { HideSplashScreen(); });
    m_timer->start(750);
    QApplication::instance()->installEventFilter(this);
}

CSplashWnd::~CSplashWnd() {
    if (QApplication::instance())
        QApplication::instance()->removeEventFilter(this);
}

void CSplashWnd::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.drawPixmap(0, 0, m_picture);
}

bool CSplashWnd::eventFilter(QObject*, QEvent* event) {
    // Any key or mouse press hides the splash; the press itself goes on.
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::MouseButtonPress:
    case QEvent::NonClientAreaMouseButtonPress:
        QTimer::singleShot(0, [] { HideSplashScreen(); });
        break;
    default:
        break;
    }
    return false;
}

#include "TMessageBox.h"

#include <QApplication>
#include <QClipboard>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QVBoxLayout>

namespace {

QScreen *ScreenFor(const QWidget *widget)
{
    if (widget && widget->screen())
        return widget->screen();
    return QGuiApplication::primaryScreen();
}

// The part of the text the box shows: whole lines, as long as they fit.
QString ShownText(const QString &text)
{
    QStringList lines = text.split(QLatin1Char('\n'));
    bool cut = false;
    if (lines.size() > TMessageBox::kMaxShownLines) {
        lines.resize(TMessageBox::kMaxShownLines);
        cut = true;
    }
    QString shown = lines.join(QLatin1Char('\n'));
    if (shown.size() > TMessageBox::kMaxShownCharacters) {
        shown.truncate(TMessageBox::kMaxShownCharacters);
        cut = true;
    }
    if (cut)
        shown += QStringLiteral("…");
    return shown;
}

} // namespace

TMessageBox::TMessageBox(const QString &title, const QString &text, Icon icon, QWidget *parent)
    : QDialog(parent), text_(QString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")))
{
    setWindowTitle(title);
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setObjectName(QStringLiteral("TMessageBox"));

    auto *label = new QLabel(ShownText(text_), this);
    label->setObjectName(QStringLiteral("Message"));
    label->setTextFormat(Qt::PlainText);
    label->setFont(QApplication::font("QMessageBox"));
    label->setTextInteractionFlags(Qt::NoTextInteraction);

    // Wrap only when a line is wider than half the screen.
    const int widthLimit = ScreenFor(parent)->geometry().width() / 2;
    const QFontMetrics metrics(label->font());
    int widest = 0;
    for (const QString &line : label->text().split(QLatin1Char('\n')))
        widest = std::max(widest, metrics.horizontalAdvance(line));
    if (widest > widthLimit) {
        label->setWordWrap(true);
        label->setFixedWidth(widthLimit);
    }

    auto *body = new QHBoxLayout;
    body->setSpacing(style()->pixelMetric(QStyle::PM_LayoutHorizontalSpacing) * 3);
    if (icon == Icon::Stop) {
        auto *iconLabel = new QLabel(this);
        iconLabel->setObjectName(QStringLiteral("Icon"));
        const int size = style()->pixelMetric(QStyle::PM_MessageBoxIconSize, nullptr, this);
        iconLabel->setPixmap(
            style()->standardIcon(QStyle::SP_MessageBoxCritical, nullptr, this).pixmap(size));
        body->addWidget(iconLabel, 0, Qt::AlignTop);
    }
    body->addWidget(label, 1);

    auto *ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("OK"));
    ok->setDefault(true);
    ok->setAutoDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    auto *layout = new QVBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    layout->addLayout(body);
    layout->addSpacing(style()->pixelMetric(QStyle::PM_LayoutVerticalSpacing));
    layout->addWidget(ok, 0, Qt::AlignHCenter);
    ok->setFocus();
}

void TMessageBox::Show(const QString &title, const QString &text, Icon icon)
{
    // Once the box is closed, the window it came from is active again, with
    // the focus where it was.
    const QPointer<QWidget> window = QApplication::activeWindow();
    TMessageBox box(title, text, icon, window);
    box.exec();
    if (window)
        window->activateWindow();
}

void TMessageBox::keyPressEvent(QKeyEvent *event)
{
    if (event->matches(QKeySequence::Copy)) {
        QGuiApplication::clipboard()->setText(text_);
        return;
    }
    QDialog::keyPressEvent(event);
}

void TMessageBox::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    const QRect screen = ScreenFor(this)->geometry();
    const QSize frame = frameGeometry().size();
    move(screen.center() - QPoint(frame.width() / 2, frame.height() / 2));
}

#include "TMessageBox.h"

#include "X11Window.h"

#include <QApplication>
#include <QClipboard>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QTextLayout>
#include <QVBoxLayout>
#include <QWindow>

#include <algorithm>

namespace {

QScreen *ScreenFor(const QWidget *widget)
{
    if (widget && widget->screen())
        return widget->screen();
    return QGuiApplication::primaryScreen();
}

// The calculator window, or whichever of the program's windows is showing:
// the box's parent when no window of the program is active, as on a
// compositor that has not activated the window yet.
QWidget *ShownWindow()
{
    QWidget *found = nullptr;
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        if (!widget->isVisible() || qobject_cast<TMessageBox *>(widget) ||
            widget->windowType() == Qt::ToolTip)
            continue;
        if (widget->inherits("TForm"))
            return widget;
        if (!found)
            found = widget;
    }
    return found;
}

// The frame the window manager puts around a box, as far as it is known
// before the box is mapped: that of the window it belongs to, which the same
// window manager decorates alike.
QMargins FrameMargins(const QWidget *box)
{
    const QWidget *parent = box->parentWidget() ? box->parentWidget()->window() : nullptr;
    if (!parent)
        return {};
    if (X11Window::Active())
        return X11Window::FrameMargins(parent);
    return parent->windowHandle() ? parent->windowHandle()->frameMargins() : QMargins();
}

// Cuts text to at most limit characters, never inside a surrogate pair, and
// marks the cut.
QString Cut(QString text, qsizetype limit)
{
    if (text.size() <= limit)
        return text;
    if (limit > 0 && text.at(limit - 1).isHighSurrogate())
        --limit;
    text.truncate(limit);
    return text + TMessageBox::kCutMark;
}

// The lines the box shows: each line of the text broken where it is wider
// than width, between words where it can and anywhere in a word too long for
// a line; then as many lines as height holds, the last marked when some are
// left out.
QStringList ShownLines(const QString &text, const QFont &font, int width, int height)
{
    const QFontMetrics metrics(font);
    const int maxLines = std::max(1, height / std::max(1, metrics.lineSpacing()));
    QStringList lines;
    bool cut = false;
    for (const QString &line : Cut(text, TMessageBox::kMaxShownCharacters).split(u'\n')) {
        if (lines.size() >= maxLines) {
            cut = true;
            break;
        }
        if (metrics.horizontalAdvance(line) <= width) {
            lines << line;
            continue;
        }
        QTextLayout layout(line, font);
        QTextOption option;
        option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
        layout.setTextOption(option);
        layout.beginLayout();
        for (QTextLine piece = layout.createLine(); piece.isValid(); piece = layout.createLine()) {
            piece.setLineWidth(width);
            if (lines.size() >= maxLines) {
                cut = true;
                break;
            }
            lines << line.mid(piece.textStart(), piece.textLength());
        }
        layout.endLayout();
    }
    if (cut && !lines.isEmpty()) {
        QString &last = lines.last();
        last = metrics.elidedText(last + TMessageBox::kCutMark, Qt::ElideRight, width);
        if (!last.endsWith(TMessageBox::kCutMark))
            last += TMessageBox::kCutMark;
    }
    return lines;
}

// The stop icon at the box's scale: the icon theme's, when it has one drawn
// for that scale, else a red disc with a white cross painted at the scale.
QPixmap StopIcon(int size, qreal ratio)
{
    const QIcon themed = QIcon::fromTheme(QStringLiteral("dialog-error"));
    if (!themed.isNull()) {
        QPixmap pixmap = themed.pixmap(QSize(size, size), ratio);
        if (pixmap.width() >= qCeil(size * ratio))
            return pixmap;
    }
    QPixmap pixmap(QSize(size, size) * ratio);
    pixmap.setDevicePixelRatio(ratio);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF disc(1, 1, size - 2, size - 2);
    painter.setPen(QPen(QColor(0x9b, 0x1c, 0x1c), 1));
    painter.setBrush(QColor(0xd9, 0x2b, 0x2b));
    painter.drawEllipse(disc);
    const qreal arm = size * 0.19;
    const QPointF centre = disc.center();
    painter.setPen(QPen(Qt::white, size * 0.11, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(centre + QPointF(-arm, -arm), centre + QPointF(arm, arm));
    painter.drawLine(centre + QPointF(-arm, arm), centre + QPointF(arm, -arm));
    return pixmap;
}

} // namespace

TMessageBox::TMessageBox(const QString &title, const QString &text, Icon icon, QWidget *parent)
    : QDialog(parent), text_(QString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")))
{
    setWindowTitle(title);
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setObjectName(QStringLiteral("TMessageBox"));

    auto *label = new QLabel(this);
    label->setObjectName(QStringLiteral("Message"));
    label->setTextFormat(Qt::PlainText);
    label->setFont(QApplication::font("QMessageBox"));
    label->setTextInteractionFlags(Qt::NoTextInteraction);

    auto *body = new QHBoxLayout;
    body->setSpacing(style()->pixelMetric(QStyle::PM_LayoutHorizontalSpacing) * 3);
    if (icon == Icon::Stop) {
        auto *iconLabel = new QLabel(this);
        iconLabel->setObjectName(QStringLiteral("Icon"));
        iconLabel->setAccessibleName(QStringLiteral("エラー"));
        // Sized with the text: larger where the desktop asks for more dots
        // per inch with Qt's own scaling off, and drawn for the pixels Qt
        // scales to where it scales.
        const QScreen *screen = ScreenFor(parent);
        const int size = qRound(kIconSize * screen->logicalDotsPerInch() / 96.0);
        iconLabel->setPixmap(StopIcon(size, screen->devicePixelRatio()));
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

    // The box, frame included, fits the screen's free area whatever the text:
    // lines wrap where they are wider than half the screen, and what does not
    // fit below that is left out, marked, though Ctrl+C still copies it all.
    const QRect area = ScreenFor(parent)->availableGeometry();
    label->setText(QStringLiteral("0"));
    const int rest = sizeHint().height() - label->sizeHint().height();
    const QMargins frame = FrameMargins(this);
    // Before the box is mapped its frame is a guess; leave room for a title bar.
    const int frameHeight = std::max(frame.top() + frame.bottom(), 2 * fontMetrics().height());
    label->setText(
        ShownLines(text_, label->font(), area.width() / 2, area.height() - rest - frameHeight)
            .join(u'\n'));

    // Placed before it exists, the box's position is taken for its frame's
    // top-left corner (Qt tells X11 window managers so at creation).
    adjustSize();
    Centre();
}

void TMessageBox::Show(const QString &title, const QString &text, Icon icon)
{
    // Once the box is closed, the window it came from is active again, with
    // the focus where it was.
    QPointer<QWidget> window = QApplication::activeWindow();
    if (!window)
        window = ShownWindow();
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
    Centre();
}

void TMessageBox::Centre()
{
    // The outer frame is centred on the screen's free area and kept on it.
    const QRect area = ScreenFor(this)->availableGeometry();
    const QMargins frame = FrameMargins(this);
    const QSize outer = size().grownBy(frame);
    QPoint corner = area.center() - QPoint(outer.width() / 2, outer.height() / 2) + QPoint(1, 1);
    corner.setX(std::max(area.left(), std::min(corner.x(), area.right() + 1 - outer.width())));
    corner.setY(std::max(area.top(), std::min(corner.y(), area.bottom() + 1 - outer.height())));
    // move() places the frame's top-left corner of a top-level window.
    if (frameGeometry().topLeft() != corner)
        move(corner);
}

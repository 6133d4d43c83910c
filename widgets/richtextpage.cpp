#include "widgets/richtextpage.h"

#include <QAction>
#include <QActionGroup>
#include <QColorDialog>
#include <QComboBox>
#include <QFontComboBox>
#include <QFontDatabase>
#include <QFontDialog>
#include <QMenu>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextEdit>
#include <QTextList>
#include <QToolBar>
#include <QVBoxLayout>

#include "widgets/textdocumentconverter.h"

namespace nimbra {

namespace {

QIcon ToolIcon(const QString& name)
{
    return QIcon(QStringLiteral(":/widgets/icons/%1.svg").arg(name));
}

}  // namespace

RichTextPage::RichTextPage(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("richTextPage"));
    editor_ = new QTextEdit(this);
    editor_->setObjectName(QStringLiteral("richText"));
    editor_->setContextMenuPolicy(Qt::CustomContextMenu);
    toolBar_ = new QToolBar(this);
    toolBar_->setObjectName(QStringLiteral("richTextTools"));
    toolBar_->setIconSize(QSize(16, 16));
    buildToolBar();
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    layout->addWidget(toolBar_);
    layout->addWidget(editor_, 1);
    setFocusProxy(editor_);
    connectTools();
    showFormat(editor_->currentCharFormat());
    updateEnabling();
}

QAction* RichTextPage::addTool(Tool tool, const QString& text, const QString& icon,
                               const QKeySequence& keys)
{
    QAction* action = toolBar_->addAction(ToolIcon(icon), text);
    if (!keys.isEmpty()) {
        // Active while the focus is anywhere on the page, the editor included.
        action->setShortcut(keys);
        action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        addAction(action);
    }
    actions_.insert(tool, action);
    return action;
}

void RichTextPage::buildToolBar()
{
    addTool(Tool::Font, tr("Font..."), QStringLiteral("font"));
    family_ = new QFontComboBox(toolBar_);
    family_->setObjectName(QStringLiteral("fontFamily"));
    family_->setMaximumWidth(160);
    toolBar_->addWidget(family_);
    size_ = new QComboBox(toolBar_);
    size_->setObjectName(QStringLiteral("fontSize"));
    size_->setEditable(true);
    for (int points : QFontDatabase::standardSizes()) size_->addItem(QString::number(points));
    size_->setMinimumContentsLength(3);
    toolBar_->addWidget(size_);
    addTool(Tool::Color, tr("Color..."), QStringLiteral("color"));
    toolBar_->addSeparator();
    // The editor's own keys cut, copy and paste.
    addTool(Tool::Cut, tr("Cut"), QStringLiteral("cut"));
    addTool(Tool::Copy, tr("Copy"), QStringLiteral("copy"));
    addTool(Tool::Paste, tr("Paste"), QStringLiteral("paste"));
    toolBar_->addSeparator();
    addTool(Tool::Bold, tr("Bold"), QStringLiteral("bold"), QKeySequence::Bold);
    addTool(Tool::Italic, tr("Italic"), QStringLiteral("italic"), QKeySequence::Italic);
    addTool(Tool::Underline, tr("Underline"), QStringLiteral("underline"), QKeySequence::Underline);
    toolBar_->addSeparator();
    addTool(Tool::Bullet, tr("Bullet"), QStringLiteral("bullet"));
    toolBar_->addSeparator();
    auto* alignments = new QActionGroup(this);
    for (Tool tool : {Tool::Left, Tool::Center, Tool::Right}) {
        const bool left = tool == Tool::Left;
        const bool center = tool == Tool::Center;
        QAction* action = addTool(tool,
                                  left     ? tr("Left")
                                  : center ? tr("Center")
                                           : tr("Right"),
                                  left     ? QStringLiteral("alignleft")
                                  : center ? QStringLiteral("aligncenter")
                                           : QStringLiteral("alignright"));
        alignments->addAction(action);
    }
    for (Tool tool : {Tool::Bold, Tool::Italic, Tool::Underline, Tool::Bullet, Tool::Left,
                      Tool::Center, Tool::Right})
        actions_[tool]->setCheckable(true);
}

void RichTextPage::connectTools()
{
    connect(actions_[Tool::Font], &QAction::triggered, this, &RichTextPage::chooseFont);
    connect(actions_[Tool::Color], &QAction::triggered, this, &RichTextPage::chooseColor);
    connect(actions_[Tool::Cut], &QAction::triggered, editor_, &QTextEdit::cut);
    connect(actions_[Tool::Copy], &QAction::triggered, editor_, &QTextEdit::copy);
    connect(actions_[Tool::Paste], &QAction::triggered, editor_, &QTextEdit::paste);
    connect(actions_[Tool::Bold], &QAction::triggered, this, [this](bool on) {
        QTextCharFormat format;
        format.setFontWeight(on ? QFont::Bold : QFont::Normal);
        mergeFormat(format);
    });
    connect(actions_[Tool::Italic], &QAction::triggered, this, [this](bool on) {
        QTextCharFormat format;
        format.setFontItalic(on);
        mergeFormat(format);
    });
    connect(actions_[Tool::Underline], &QAction::triggered, this, [this](bool on) {
        QTextCharFormat format;
        format.setFontUnderline(on);
        mergeFormat(format);
    });
    connect(actions_[Tool::Bullet], &QAction::triggered, this, &RichTextPage::toggleBullet);
    connect(actions_[Tool::Left], &QAction::triggered, this,
            [this] { align(Qt::AlignLeft | Qt::AlignAbsolute); });
    connect(actions_[Tool::Center], &QAction::triggered, this, [this] { align(Qt::AlignHCenter); });
    connect(actions_[Tool::Right], &QAction::triggered, this,
            [this] { align(Qt::AlignRight | Qt::AlignAbsolute); });
    connect(family_, &QFontComboBox::textActivated, this, [this](const QString& family) {
        QTextCharFormat format;
        format.setFontFamilies({family});
        mergeFormat(format);
    });
    connect(size_, &QComboBox::textActivated, this, [this](const QString& text) {
        const double points = text.toDouble();
        if (points <= 0) return;
        QTextCharFormat format;
        format.setFontPointSize(points);
        mergeFormat(format);
    });
    connect(editor_, &QTextEdit::currentCharFormatChanged, this, &RichTextPage::showFormat);
    connect(editor_, &QTextEdit::cursorPositionChanged, this, &RichTextPage::showAlignment);
    connect(editor_, &QTextEdit::copyAvailable, this, &RichTextPage::updateEnabling);
    // Any change of text or format, typed, pasted or set, is an edit.
    connect(editor_->document(), &QTextDocument::contentsChanged, this, [this] {
        if (!loading_) edited_ = true;
    });
    connect(editor_, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        createContextMenu()->exec(editor_->viewport()->mapToGlobal(at));
    });
}

std::unique_ptr<QMenu> RichTextPage::createContextMenu()
{
    auto menu = std::make_unique<QMenu>(this);
    menu->setObjectName(QStringLiteral("richTextMenu"));
    for (Tool tool : {Tool::Cut, Tool::Copy, Tool::Paste}) menu->addAction(actions_[tool]);
    menu->addSeparator();
    menu->addAction(actions_[Tool::Font]);
    return menu;
}

void RichTextPage::load(const std::string& stored)
{
    stored_ = stored;
    loading_ = true;
    TextDocumentConverter::fillFromStoredText(stored, editor_->document());
    loading_ = false;
    edited_ = false;
    editor_->document()->setModified(false);
    editor_->document()->clearUndoRedoStacks();
    editor_->moveCursor(QTextCursor::Start);
    showFormat(editor_->currentCharFormat());
    showAlignment();
}

std::string RichTextPage::storedText() const
{
    return isEdited() ? TextDocumentConverter::toRtf(*editor_->document()) : stored_;
}

bool RichTextPage::isEdited() const
{
    return edited_;
}

void RichTextPage::setReadOnly(bool readOnly)
{
    editor_->setReadOnly(readOnly);
    updateEnabling();
}

bool RichTextPage::isReadOnly() const
{
    return editor_->isReadOnly();
}

void RichTextPage::updateEnabling()
{
    const bool editable = !editor_->isReadOnly();
    const bool selected = editor_->textCursor().hasSelection();
    for (auto it = actions_.cbegin(); it != actions_.cend(); ++it) {
        if (it.key() == Tool::Copy)
            it.value()->setEnabled(selected);
        else if (it.key() == Tool::Cut)
            it.value()->setEnabled(editable && selected);
        else
            it.value()->setEnabled(editable);
    }
    family_->setEnabled(editable);
    size_->setEnabled(editable);
}

// As word processors do: with no selection the word at the cursor takes the
// format, and so does what is typed next.
void RichTextPage::mergeFormat(const QTextCharFormat& format)
{
    QTextCursor cursor = editor_->textCursor();
    if (!cursor.hasSelection()) cursor.select(QTextCursor::WordUnderCursor);
    cursor.mergeCharFormat(format);
    editor_->mergeCurrentCharFormat(format);
    editor_->setFocus();
}

void RichTextPage::applyFont(const QFont& font)
{
    QTextCharFormat format;
    format.setFontFamilies(font.families());
    if (font.pointSizeF() > 0) format.setFontPointSize(font.pointSizeF());
    format.setFontWeight(font.bold() ? QFont::Bold : QFont::Normal);
    format.setFontItalic(font.italic());
    format.setFontUnderline(font.underline());
    mergeFormat(format);
}

void RichTextPage::applyColor(const QColor& color)
{
    QTextCharFormat format;
    format.setForeground(color);
    mergeFormat(format);
}

void RichTextPage::chooseFont()
{
    bool chosen = false;
    const QFont font = QFontDialog::getFont(&chosen, editor_->currentFont(), this, tr("Font"),
                                            QFontDialog::DontUseNativeDialog);
    if (chosen) applyFont(font);
}

void RichTextPage::chooseColor()
{
    const QColor color = QColorDialog::getColor(editor_->textColor(), this, tr("Color"),
                                                QColorDialog::DontUseNativeDialog);
    if (color.isValid()) applyColor(color);
}

void RichTextPage::toggleBullet(bool on)
{
    QTextCursor cursor = editor_->textCursor();
    cursor.beginEditBlock();
    if (on) {
        cursor.createList(QTextListFormat::ListDisc);
    } else {
        // Each selected paragraph leaves its list, and the list's indent.
        QTextDocument* document = editor_->document();
        const QTextBlock last = document->findBlock(cursor.selectionEnd());
        for (QTextBlock block = document->findBlock(cursor.selectionStart()); block.isValid();
             block = block.next()) {
            if (QTextList* list = block.textList()) {
                list->remove(block);
                QTextBlockFormat format = block.blockFormat();
                format.setIndent(0);
                QTextCursor(block).setBlockFormat(format);
            }
            if (block == last) break;
        }
    }
    cursor.endEditBlock();
    showAlignment();
}

void RichTextPage::align(Qt::Alignment alignment)
{
    editor_->setAlignment(alignment);
    showAlignment();
}

void RichTextPage::showFormat(const QTextCharFormat& format)
{
    const QFont font = format.font();
    actions_[Tool::Bold]->setChecked(font.bold());
    actions_[Tool::Italic]->setChecked(font.italic());
    actions_[Tool::Underline]->setChecked(font.underline());
    family_->setCurrentFont(font);
    size_->setEditText(QString::number(font.pointSizeF()));
}

void RichTextPage::showAlignment()
{
    const Qt::Alignment alignment = editor_->alignment();
    if (alignment & Qt::AlignHCenter)
        actions_[Tool::Center]->setChecked(true);
    else if (alignment & Qt::AlignRight)
        actions_[Tool::Right]->setChecked(true);
    else
        actions_[Tool::Left]->setChecked(true);
    actions_[Tool::Bullet]->setChecked(editor_->textCursor().currentList() != nullptr);
    updateEnabling();
}

}  // namespace nimbra

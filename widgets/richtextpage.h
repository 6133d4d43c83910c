// A rich-text editor for one stored text field, with a small toolbar (font,
// family, size, colour, cut, copy, paste, bold, italic, underline, bullet,
// left, center, right) and a context menu ("Cut", "Copy", "Paste",
// "Font..."). The field holds RTF; a text the user did not edit is given
// back exactly as it was stored, so RTF this editor cannot show (tables,
// pictures) survives every save that does not touch it.
#pragma once

#include <QMap>
#include <QWidget>

#include <memory>

#include <string>

class QAction;
class QComboBox;
class QFontComboBox;
class QMenu;
class QTextCharFormat;
class QTextEdit;
class QToolBar;

namespace nimbra {

class RichTextPage : public QWidget {
    Q_OBJECT
public:
    enum class Tool {
        Font,
        Color,
        Cut,
        Copy,
        Paste,
        Bold,
        Italic,
        Underline,
        Bullet,
        Left,
        Center,
        Right
    };

    explicit RichTextPage(QWidget* parent = nullptr);

    // Shows a stored text (RTF, or plain text as older records hold it) and
    // keeps it as the text to give back until the user edits.
    void load(const std::string& stored);
    // The stored text as loaded when nothing was edited; otherwise the RTF
    // of what the editor shows.
    std::string storedText() const;
    bool isEdited() const;

    void setReadOnly(bool readOnly);
    bool isReadOnly() const;

    // Applies a font to the selection (or the word at the cursor), as
    // "Font..." does with the font the dialog gives.
    void applyFont(const QFont& font);
    void applyColor(const QColor& color);

    QTextEdit* editor() const { return editor_; }
    QToolBar* toolBar() const { return toolBar_; }
    QAction* action(Tool tool) const { return actions_.value(tool); }
    // The context menu as it is shown at the cursor.
    std::unique_ptr<QMenu> createContextMenu();

private:
    QAction* addTool(Tool tool, const QString& text, const QString& icon,
                     const QKeySequence& keys = {});
    void buildToolBar();
    void connectTools();
    void mergeFormat(const QTextCharFormat& format);
    void chooseFont();
    void chooseColor();
    void toggleBullet(bool on);
    void align(Qt::Alignment alignment);
    void showFormat(const QTextCharFormat& format);
    void showAlignment();
    void updateEnabling();

    QTextEdit* editor_ = nullptr;
    QToolBar* toolBar_ = nullptr;
    QFontComboBox* family_ = nullptr;
    QComboBox* size_ = nullptr;
    QMap<Tool, QAction*> actions_;
    std::string stored_;
    bool loading_ = false;
    bool edited_ = false;
};

}  // namespace nimbra

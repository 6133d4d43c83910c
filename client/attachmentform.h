// The "Attachment" tab of the detail pane: the files attached to the current
// bug; a double click opens one with its default application.
#pragma once

#include <lindor/lindor.h>

#include <QWidget>

class QTreeWidget;

namespace nimbra {

class AttachmentForm : public QWidget {
    Q_OBJECT
public:
    explicit AttachmentForm(QWidget* parent = nullptr);

    // Null empties the list.
    void showFiles(lindor::IFileSet* files, const QString& dateFormat);
    QTreeWidget* list() const { return list_; }

private:
    void openFile(int fileId);

    QTreeWidget* list_ = nullptr;
    lindor::ComPtr<lindor::IFileSet> files_;
};

}  // namespace nimbra

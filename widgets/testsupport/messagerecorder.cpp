#include "widgets/testsupport/messagerecorder.h"

namespace nimbra::test {

MessageRecorder::MessageRecorder(QMessageBox::StandardButton defaultAnswer)
    : defaultAnswer_(defaultAnswer)
{
    Messages::setInterceptor([this](const Messages::Shown& shown) { return answer(shown); });
}

MessageRecorder::~MessageRecorder()
{
    Messages::setInterceptor({});
}

void MessageRecorder::clear()
{
    texts_.clear();
    kinds_.clear();
}

QMessageBox::StandardButton MessageRecorder::answer(const Messages::Shown& shown)
{
    texts_.append(shown.text);
    kinds_.append(shown.kind);
    if (!Messages::isQuestion(shown.kind)) return QMessageBox::Ok;
    return answers_.isEmpty() ? defaultAnswer_ : answers_.takeFirst();
}

}  // namespace nimbra::test

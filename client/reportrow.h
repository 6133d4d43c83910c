// The cells of one row of the printed list: the bug's number and the six
// texts the report shows.
#pragma once

#include <lindor/lindor.h>

#include <QString>

namespace nimbra {

struct ReportRow {
    int id = 0;
    QString description;
    QString status;
    QString priority;
    QString severity;
    QString reproductive;
    QString classification;

    // False for a missing bug (a row that could not be read).
    static bool read(lindor::IBug* bug, ReportRow* row);
};

}  // namespace nimbra

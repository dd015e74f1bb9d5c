#include "platform/ui/UIAttributeReport.h"

namespace DuiLib {

namespace {

thread_local IAttributeReport* t_report = nullptr;

}  // namespace

IAttributeReport* SetThreadAttributeReport(IAttributeReport* pReport)
{
    IAttributeReport* previous = t_report;
    t_report = pReport;
    return previous;
}

IAttributeReport* GetThreadAttributeReport()
{
    return t_report;
}

}  // namespace DuiLib

#include "DialogTemplates.h"

#include <cstdlib>
#include <initializer_list>

namespace zadw {

// One file per window holds its template.
extern const DialogTemplate kAboutTemplate;
extern const DialogTemplate kReportsTemplate;
extern const DialogTemplate kReportEntryTemplate;
extern const DialogTemplate kSummaryPreviewTemplate;

const DialogTemplate& dialogTemplate(int id) {
    for (const DialogTemplate* t :
         {&kAboutTemplate, &kReportsTemplate, &kReportEntryTemplate, &kSummaryPreviewTemplate}) {
        if (t->id == id) {
            return *t;
        }
    }
    std::abort();
}

} // namespace zadw

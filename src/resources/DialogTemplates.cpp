// SPDX-License-Identifier: GPL-3.0-or-later
#include "DialogTemplates.h"

#include <cstdlib>

namespace zadw {

// One file per window holds its template.
extern const DialogTemplate kAboutTemplate;
extern const DialogTemplate kReportsTemplate;
extern const DialogTemplate kReportEntryTemplate;
extern const DialogTemplate kSummaryPreviewTemplate;

std::vector<const DialogTemplate*> dialogTemplates() {
    return {&kAboutTemplate, &kReportsTemplate, &kReportEntryTemplate, &kSummaryPreviewTemplate};
}

const DialogTemplate& dialogTemplate(TemplateId id) {
    for (const DialogTemplate* t : dialogTemplates()) {
        if (t->id == id) {
            return *t;
        }
    }
    std::abort();
}

} // namespace zadw

#pragma once

#include "catalogue/componentinfo.h"

// The block that the description box shows for a component: its folder in upper case as the
// title, a rule, the wrapped DESC text, then the executable and picture names as written.
QString composeDescription(const ComponentInfo &record);

// The DESC text as a screen reader reads it, one plain paragraph, from the text wrapText made of
// it. A descriptor value is one line, so every CR LF in the wrapped text is a break wrapText put
// in, and taking them out gives the value back as written.
QString plainParagraph(const QString &wrappedDesc);

// What a screen reader says of a component's button after its name: the plain paragraph, and,
// where the program is missing, that it is; the greyed button alone does not say why it is greyed.
QString buttonDescription(const QString &paragraph, bool programFound);

#pragma once

#include "catalogue/componentinfo.h"

// The block that the description box shows for a component: its folder in upper case as the
// title, a rule, the wrapped DESC text, then the executable and picture names as written.
QString composeDescription(const ComponentInfo &record);

// The DESC text as a screen reader reads it, one plain paragraph, from a record whose desc holds
// the block composeDescription made: without the title, the rule, the file names and the line
// breaks wrapText put in.
QString descriptionParagraph(const ComponentInfo &record);

// What a screen reader says of a component's button after its name: the plain paragraph, and,
// where the program is missing, that it is; the greyed button alone does not say why it is greyed.
QString buttonDescription(const QString &paragraph, bool programFound);

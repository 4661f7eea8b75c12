#pragma once

#include "catalogue/componentinfo.h"

#include <QStringView>

// The descriptor's file name: a sub-folder that holds a plain file of this name is a component.
inline constexpr QStringView descriptorFileName = u"kk.cfg";

// The keys a descriptor line may have, exactly as written here.
inline constexpr QStringView descriptorKeys[] = {u"DESC", u"EXE", u"HELP", u"IMG", u"NAME", u"TIP"};

// Stores one descriptor line in the record. The key is everything before the line's first colon
// and must be one of DESC, EXE, HELP, IMG, NAME or TIP, exactly in upper case; any other line is
// skipped. DESC is wrapped for the description box as it is stored.
void applyDescriptorLine(ComponentInfo &record, QString line);

// Reads the descriptor file at `path` into `record`, line by line; a key that occurs again
// replaces the earlier value. Raises a RuntimeError when the file cannot be read; lines applied
// before the failure stay in the record.
void readDescriptor(const QString &path, ComponentInfo &record);

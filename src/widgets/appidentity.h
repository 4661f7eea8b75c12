#pragma once

#include <QStringView>

// The launcher's name and the facts about its maker, kept in one place.
namespace AppIdentity
{
inline constexpr QStringView title = u"Kestrelkit Launcher";
inline constexpr QStringView copyright
    = u"Copyright \u00A9 2026 Vessaly Software Solutions, Inc. All rights reserved.";
inline constexpr QStringView author = u"R. Ellwood";
inline constexpr QStringView webAddress = u"https://www.vessaly.example/";
inline constexpr QStringView supportEmail = u"support@vessaly.example";
inline constexpr QStringView supportPhone = u"+1 (425) 555-0147";
inline constexpr QStringView bugEmail = u"bugs@vessaly.example";
} // namespace AppIdentity

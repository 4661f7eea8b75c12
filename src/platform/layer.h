#pragma once

// Which implementation of this layer the build holds, chosen when configuring: the one on POSIX
// calls (Linux), or the one on Qt's portable APIs alone that every other system builds.
enum class PlatformLayer {
    Posix,
    Portable,
};

PlatformLayer platformLayer();

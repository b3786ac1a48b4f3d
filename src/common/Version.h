#pragma once

// The program's own version: written into every competition it creates and shown
// on the splash window.
namespace Version {
constexpr int Major = PILKRONA_MAJOR;
constexpr int Minor = PILKRONA_MINOR;
constexpr int Build = PILKRONA_BUILD;
} // namespace Version

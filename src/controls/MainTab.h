#pragma once

// The main tabs, in the order the tab control shows them.
enum class MainTab { MyPhotos = 0, PhotoAlbums = 1, PrintLabels = 2, Publish = 3, Fun = 4 };

inline constexpr int kMainTabCount = 5;

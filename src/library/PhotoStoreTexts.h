#pragma once

// The store's messages, as the user sees them. "%1" stands for a name or stem.
namespace PhotoStoreTexts {
inline constexpr char kTypeAName[] =
    "Please type a name for this photo so Brivane can store it in the 'My Photos' folder for you.";
inline constexpr char kNameTaken[] =
    "You already have a photo named '%1'.  Please type a different name.";
inline constexpr char kNameClashes[] =
    "The name '%1' cannot be used: its files would be those of the photo '%2'.  Please type a "
    "different name.";
inline constexpr char kSelectToRename[] = "Please select a photo to rename.";
inline constexpr char kSelectToDelete[] = "Please select a photo to delete.";
inline constexpr char kConfirmDelete[] = "Are you sure you want to delete '%1'?";
inline constexpr char kRenameCaption[] = "Rename a photo";
inline constexpr char kRenamePrompt[] = "Type the new name of the photo";
inline constexpr char kNameHasSlash[] =
    "A photo name cannot contain '/'.  Please type a different name.";
inline constexpr char kNameHasControl[] =
    "A photo name cannot contain control characters.  Please type a different name.";
inline constexpr char kNameIsDots[] =
    "A photo cannot be named '.' or '..'.  Please type a different name.";
inline constexpr char kNameTooLong[] =
    "A photo name can be at most 60 characters long.  Please type a shorter name.";
}  // namespace PhotoStoreTexts

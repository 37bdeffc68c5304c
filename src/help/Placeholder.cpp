// Placeholder so the folder builds until its first class lands.

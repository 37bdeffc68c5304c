// Replaced by the file module's sources.

// Replaced by the PNG loader.

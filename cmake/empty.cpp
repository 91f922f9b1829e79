// Keeps a library that has no units of its own yet a valid archive.

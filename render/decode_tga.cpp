// Targa decoder.

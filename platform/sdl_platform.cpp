// SDL2 backend of the platform interface.

// The Windows build asks no router for its port (network/portmap_windows.cpp).

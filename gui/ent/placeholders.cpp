// Smallest stand-ins for routines whose owners have not landed yet (see gui/menu/placeholders.cpp).

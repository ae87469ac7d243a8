#pragma once
int print_stock(const char* path);

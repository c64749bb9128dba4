#include <cstdio>

int main(int, char**)
{
    std::puts("pricebook: not built yet");
    return 0;
}

#include <cstdio>

int main()
{
    std::puts("lyravane-cli");
    return 0;
}

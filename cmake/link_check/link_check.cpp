// Linked with one whole layer and nothing but the layers below it (see CMakeLists.txt beside
// it): the link fails when the layer calls anything of a layer above. Built, never run.
int main() { return 0; }

// Builds a ".mirvel" word list from its UTF-8 text source:
//   make_wordlist starter.tsv starter.mirvel
#include "common/WordFile.h"
#include "samples/WordListSource.h"

#include <fstream>
#include <iostream>

int main(int argc, char* argv[])
{
    if (argc != 3) {
        std::cerr << "usage: make_wordlist <source.tsv> <output.mirvel>\n";
        return 2;
    }
    std::ifstream source(argv[1], std::ios::binary);
    if (!source) {
        std::cerr << "make_wordlist: can't read " << argv[1] << "\n";
        return 1;
    }
    try {
        const mirvel::WordList words = samples::ParseWordListSource(source);
        mirvel::WriteWordFile(argv[2], words);
        std::cout << argv[2] << ": " << words.size() << " records\n";
    } catch (const samples::SourceError& error) {
        std::cerr << argv[1] << ": " << error.what() << "\n";
        return 1;
    } catch (const std::exception& error) {
        std::cerr << "make_wordlist: " << argv[2] << ": " << error.what() << "\n";
        return 1;
    }
    return 0;
}

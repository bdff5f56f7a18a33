#pragma once
// Standard input, output and error closed when the program starts (as with
// `premiers <&-`) are opened on /dev/null, before any other file: otherwise
// the first file opened, liste.txt, would take their place and become the
// dialogue's input or output.

class DescripteursStandard {
  public:
    DescripteursStandard();
};

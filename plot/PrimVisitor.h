#pragma once

class Pinit;
class Couleur;
class Etendue;
class Ligne;
class Posicourante;
class Facteur;
class Nombre;
class Symbole;
class Symspecial;
class Cercle;
class NewColor;

// The one way to act on a record by its kind: painting (render/), the DXF export (dxf/) and the
// dump (cli/) each implement it, so the records themselves know nothing of those layers. Every
// kind must be handled; a new record kind fails to build until every visitor handles it.
class PrimVisitor {
  public:
    virtual void Visit(const Pinit& prim) = 0;
    virtual void Visit(const Couleur& prim) = 0;
    virtual void Visit(const Etendue& prim) = 0;
    virtual void Visit(const Ligne& prim) = 0;
    virtual void Visit(const Posicourante& prim) = 0;
    virtual void Visit(const Facteur& prim) = 0;
    virtual void Visit(const Nombre& prim) = 0;
    virtual void Visit(const Symbole& prim) = 0;
    virtual void Visit(const Symspecial& prim) = 0;
    virtual void Visit(const Cercle& prim) = 0;
    virtual void Visit(const NewColor& prim) = 0;

  protected:
    ~PrimVisitor() = default;
};

package visualizador.design;

import java.io.IOException;
import java.io.InputStream;
import java.nio.file.Files;
import java.nio.file.NoSuchFileException;
import java.nio.file.Path;
import java.util.ArrayList;
import java.util.HashSet;
import java.util.List;
import java.util.Locale;
import java.util.Set;
import javax.xml.XMLConstants;
import javax.xml.parsers.DocumentBuilder;
import javax.xml.parsers.DocumentBuilderFactory;
import javax.xml.parsers.ParserConfigurationException;
import org.w3c.dom.Element;
import org.w3c.dom.NodeList;
import org.xml.sax.SAXException;
import visualizador.ErroRelatorio;

/** Reads a report design file (the format is described in the header of each design). */
public final class LeitorDesign {
    // Beyond these a design is a mistake, and the formats would build huge texts or widths from it.
    private static final double MAX_LARGURA = 2000; // points: more than an A3 page across
    private static final int MAX_CASAS = 10;
    private static final int MAX_VALOR = 9999;
    private final Path arquivo;

    private LeitorDesign(Path arquivo) {
        this.arquivo = arquivo;
    }

    /** {@code relatorio} is the report path without extension, as the launcher sends it. */
    public static Design lerRelatorio(Path relatorio) throws ErroRelatorio {
        return ler(relatorio.resolveSibling(relatorio.getFileName() + ".xml"));
    }

    public static Design ler(Path arquivo) throws ErroRelatorio {
        return new LeitorDesign(arquivo).ler();
    }

    private Design ler() throws ErroRelatorio {
        final Element raiz;
        try (InputStream in = Files.newInputStream(arquivo)) {
            raiz = construtor().parse(in).getDocumentElement();
        } catch (NoSuchFileException e) {
            throw new ErroRelatorio("Arquivo do relatório não encontrado: " + arquivo);
        } catch (IOException e) {
            throw new ErroRelatorio("Não foi possível ler o arquivo do relatório " + arquivo + ": " + e.getMessage());
        } catch (SAXException e) {
            throw new ErroRelatorio("O arquivo do relatório " + arquivo + " não é um XML válido: " + e.getMessage());
        }
        if (!raiz.getTagName().equals("relatorio")) throw erro("o elemento principal deve ser <relatorio>");

        final List<ParametroDesign> parametros = new ArrayList<>();
        final Set<String> nomes = new HashSet<>();
        for (Element e : filhos(raiz, "parametro")) {
            final ParametroDesign p = new ParametroDesign(obrigatorio(e, "nome"), obrigatorio(e, "titulo"),
                    enumeracao(TipoParametro.class, e, "tipo"), opcional(e, "padrao", "0"),
                    comando(textoFilho(e, "descricao"), "<descricao> do parâmetro " + e.getAttribute("nome")));
            if (!nomes.add(p.nome())) throw erro("parâmetro " + p.nome() + " repetido");
            parametros.add(p);
        }

        final List<Coluna> colunas = new ArrayList<>();
        for (Element e : filhos(raiz, "coluna")) {
            final TipoColuna tipo = enumeracao(TipoColuna.class, e, "tipo");
            final boolean numerica = tipo == TipoColuna.INTEIRO || tipo == TipoColuna.NUMERO;
            final Alinhamento alinhamento = e.hasAttribute("alinhamento") ? enumeracao(Alinhamento.class, e, "alinhamento")
                    : numerica ? Alinhamento.DIREITA : Alinhamento.ESQUERDA;
            colunas.add(new Coluna(obrigatorio(e, "titulo"), obrigatorio(e, "campo"), opcional(e, "descricao", null),
                    opcional(e, "vazio", ""), tipo, (float) numero(e, "largura", 1, MAX_LARGURA), alinhamento,
                    e.hasAttribute("casas") ? inteiro(e, "casas", 0, MAX_CASAS) : 0, "sim".equals(e.getAttribute("total")),
                    "sim".equals(e.getAttribute("cortar")), "sim".equals(e.getAttribute("cresce")),
                    comando(textoFilho(e, "valores"), "<valores> da coluna " + e.getAttribute("campo")),
                    "sim".equals(e.getAttribute("legenda"))));
        }
        if (colunas.isEmpty()) throw erro("nenhuma <coluna>");

        final List<Agrupamento> agrupamentos = new ArrayList<>();
        for (Element e : filhos(raiz, "agrupamento"))
            agrupamentos.add(new Agrupamento(inteiro(e, "valor", 0, MAX_VALOR), obrigatorio(e, "titulo"), obrigatorio(e, "campo"),
                    opcional(e, "descricao", null), opcional(e, "vazio", ""),
                    comando(obrigatorio(e, "ordem"), "ordem do <agrupamento> " + e.getAttribute("valor"))));
        final List<Ordem> ordens = new ArrayList<>();
        for (Element e : filhos(raiz, "ordenacao"))
            ordens.add(new Ordem(inteiro(e, "valor", 0, MAX_VALOR), obrigatorio(e, "titulo"),
                    comando(obrigatorio(e, "ordem"), "ordem da <ordenacao> " + e.getAttribute("valor"))));
        if (agrupamentos.isEmpty() || ordens.isEmpty()) throw erro("são necessários <agrupamento> e <ordenacao>");
        unicos(agrupamentos.stream().map(Agrupamento::valor).toList(), "agrupamento");
        unicos(ordens.stream().map(Ordem::valor).toList(), "ordenacao");

        final String sql = textoFilho(raiz, "sql");
        if (sql == null || sql.isBlank()) throw erro("falta o <sql>");
        final String estoque = opcional(raiz, "estoque", null);
        // It reaches the SQL as an identifier: only a plain column name is accepted.
        if (estoque != null && !estoque.matches("[a-z_][a-z0-9_]*"))
            throw erro("estoque=\"" + estoque + "\" não é um nome de coluna simples");
        return new Design(obrigatorio(raiz, "titulo"), comando(sql, "<sql>"), List.copyOf(parametros), List.copyOf(colunas),
                List.copyOf(agrupamentos), List.copyOf(ordens), estoque);
    }

    private static DocumentBuilder construtor() throws ErroRelatorio {
        try {
            final DocumentBuilderFactory f = DocumentBuilderFactory.newInstance();
            // A design is plain data: no DTD, no external entities.
            f.setFeature("http://apache.org/xml/features/disallow-doctype-decl", true);
            f.setFeature(XMLConstants.FEATURE_SECURE_PROCESSING, true);
            f.setXIncludeAware(false);
            f.setExpandEntityReferences(false);
            f.setIgnoringComments(true);
            f.setCoalescing(true);
            final DocumentBuilder b = f.newDocumentBuilder();
            b.setErrorHandler(null);
            return b;
        } catch (ParserConfigurationException e) {
            throw new ErroRelatorio("Leitor de XML indisponível: " + e.getMessage());
        }
    }

    private static List<Element> filhos(Element pai, String nome) {
        final List<Element> lista = new ArrayList<>();
        final NodeList nos = pai.getChildNodes();
        for (int i = 0; i < nos.getLength(); i++)
            if (nos.item(i) instanceof Element e && e.getTagName().equals(nome)) lista.add(e);
        return lista;
    }

    private static String textoFilho(Element pai, String nome) {
        final List<Element> l = filhos(pai, nome);
        return l.isEmpty() ? null : l.get(0).getTextContent().strip();
    }

    private String obrigatorio(Element e, String atributo) throws ErroRelatorio {
        if (!e.hasAttribute(atributo) || e.getAttribute(atributo).isBlank())
            throw erro("<" + e.getTagName() + "> sem o atributo " + atributo);
        return e.getAttribute(atributo);
    }

    private static String opcional(Element e, String atributo, String padrao) {
        return e.hasAttribute(atributo) ? e.getAttribute(atributo) : padrao;
    }

    private double numero(Element e, String atributo, double min, double max) throws ErroRelatorio {
        final String v = obrigatorio(e, atributo);
        final double n;
        try {
            n = Double.parseDouble(v);
        } catch (NumberFormatException ex) {
            throw erro("<" + e.getTagName() + "> " + atributo + "=\"" + v + "\" não é um número");
        }
        // NaN fails both comparisons.
        if (!(n >= min && n <= max))
            throw erro("<" + e.getTagName() + "> " + atributo + "=\"" + v + "\" fora do intervalo aceito (de "
                    + inteiroOuNao(min) + " a " + inteiroOuNao(max) + ")");
        return n;
    }

    private int inteiro(Element e, String atributo, int min, int max) throws ErroRelatorio {
        final double n = numero(e, atributo, min, max);
        if (n != Math.rint(n))
            throw erro("<" + e.getTagName() + "> " + atributo + "=\"" + e.getAttribute(atributo) + "\" não é um número inteiro");
        return (int) n;
    }

    private static String inteiroOuNao(double n) {
        return n == Math.rint(n) ? String.valueOf((long) n) : String.valueOf(n);
    }

    private <T extends Enum<T>> T enumeracao(Class<T> classe, Element e, String atributo) throws ErroRelatorio {
        final String v = obrigatorio(e, atributo);
        try {
            return Enum.valueOf(classe, v.toUpperCase(Locale.ROOT));
        } catch (IllegalArgumentException ex) {
            throw erro("<" + e.getTagName() + "> " + atributo + "=\"" + v + "\" desconhecido");
        }
    }

    private void unicos(List<Integer> valores, String elemento) throws ErroRelatorio {
        if (new HashSet<>(valores).size() != valores.size()) throw erro("valores de <" + elemento + "> repetidos");
    }

    /**
     * Each SQL piece is one statement: the driver would send what follows a ";" as a statement of
     * its own. Checked here to name the piece; the query as run is checked again, whole.
     */
    private String comando(String sql, String peca) throws ErroRelatorio {
        if (sql == null) return null;
        final String unico = ComandoUnico.semFinal(sql);
        final int comandos = ComandoUnico.comandos(unico);
        if (comandos == 0) throw erro(peca + " está vazia");
        if (comandos != 1)
            throw erro(peca + " tem mais de um comando SQL (separados por \";\"); cada peça deve ser um único comando");
        return unico;
    }

    private ErroRelatorio erro(String detalhe) {
        return new ErroRelatorio("Arquivo do relatório " + arquivo + " inválido: " + detalhe + ".");
    }

}

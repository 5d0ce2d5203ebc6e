package visualizador.pagina;

import java.math.BigDecimal;
import java.util.List;
import visualizador.design.Coluna;
import visualizador.design.TipoColuna;

/**
 * The width a column needs on the page for what it will hold, its bold title included: its widest
 * text, its largest number, its largest possible total in bold. NaN when that is not known.
 */
final class LarguraNecessaria {
    private static final float FOLGA_ARREDONDAMENTO = 0.01f;

    private final Metrica normal;
    private final Metrica negrito;
    private final float tamanho;
    private final float folga;

    LarguraNecessaria(Metrica normal, Metrica negrito, float tamanho, float folga) {
        this.normal = normal;
        this.negrito = negrito;
        this.tamanho = tamanho;
        this.folga = folga;
    }

    /** @param codigos the lines show the codes of a legend, not the texts */
    float de(Coluna c, MedidaColuna m, boolean codigos) {
        float conteudo = switch (c.tipo()) {
            case TEXTO -> c.cortar() ? Float.NaN : maisLargo(normal, codigos ? m.codigos() : m.textos());
            case INTEIRO -> m.maior() == null ? Float.NaN
                    : largura(normal, (m.negativos() ? "-" : "") + m.maior().toBigInteger());
            case NUMERO -> numero(c, m);
            case DATA -> Float.NaN;
        };
        if (Float.isNaN(conteudo)) return Float.NaN;
        // A hair more: the width read back from the font's thousandths must not fall just short.
        return Math.max(conteudo, largura(negrito, c.titulo())) + 2 * folga + FOLGA_ARREDONDAMENTO;
    }

    /** A line's largest value; for a total column, its largest total in bold as well. */
    private float numero(Coluna c, MedidaColuna m) {
        if (m.maior() == null || c.total() && m.maiorTotal() == null) return Float.NaN;
        float w = largura(normal, texto(m.maior(), c.casas(), m.negativos()));
        if (c.total()) w = Math.max(w, largura(negrito, texto(m.maiorTotal(), c.casas(), m.negativos())));
        return w;
    }

    private static String texto(BigDecimal magnitude, int casas, boolean negativo) {
        return Formatos.numero(negativo ? magnitude.negate() : magnitude, casas);
    }

    private float maisLargo(Metrica f, List<String> textos) {
        if (textos.isEmpty()) return Float.NaN;
        float w = 0;
        for (String s : textos) w = Math.max(w, largura(f, s));
        return w;
    }

    private float largura(Metrica f, String s) {
        return f.largura(s) * tamanho / 1000;
    }
}

package visualizador.pagina;

import java.math.BigDecimal;
import java.util.List;

/**
 * What one column will hold, known before the first line, so that a page can be laid out for it.
 * Whatever is not known is empty or null, and the column keeps the width its design gives.
 *
 * @param textos     every text the column may show, or the longest one; empty: not known
 * @param codigos    with {@code textos} read as code and description, the code of each text
 * @param maior      the largest magnitude of a line's value (number columns)
 * @param maiorTotal a bound on the magnitude of any of its totals: the sum of the magnitudes
 * @param negativos  whether a value, and so a total, may be negative
 */
public record MedidaColuna(List<String> textos, List<String> codigos, BigDecimal maior, BigDecimal maiorTotal,
                           boolean negativos) {
    public static final MedidaColuna DESCONHECIDA = new MedidaColuna(List.of(), List.of(), null, null, true);

    public MedidaColuna {
        textos = List.copyOf(textos);
        codigos = List.copyOf(codigos);
    }
}

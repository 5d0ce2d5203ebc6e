package visualizador.pagina;

import java.math.BigDecimal;
import java.util.Arrays;
import java.util.List;
import visualizador.design.Coluna;

/**
 * Line count and the sums of the total columns (null for the other columns). Values of up to 15
 * digits are summed as whole units of their scale in a long: a million lines would otherwise make
 * two million BigDecimals for the subtotals and the grand total alone.
 */
public final class Totais {
    private static final int SEM_ESCALA = Integer.MIN_VALUE;

    private final BigDecimal[] somas; // what the counters below could not take
    private final long[] unidades;
    private final int[] escala; // of the units, set by the first value
    private long linhas;

    public Totais(List<Coluna> colunas) {
        somas = new BigDecimal[colunas.size()];
        unidades = new long[somas.length];
        escala = new int[somas.length];
        for (int i = 0; i < somas.length; i++)
            if (colunas.get(i).total()) somas[i] = BigDecimal.ZERO;
        Arrays.fill(escala, SEM_ESCALA);
    }

    public void somar(Object[] valores) {
        linhas++;
        for (int i = 0; i < somas.length; i++) {
            if (somas[i] == null || !(valores[i] instanceof BigDecimal v)) continue;
            if (escala[i] == SEM_ESCALA) escala[i] = v.scale();
            final long u = v.scale() == escala[i] ? unidades(v) : Long.MIN_VALUE;
            final long s = unidades[i] + u;
            if (u != Long.MIN_VALUE && ((unidades[i] ^ s) & (u ^ s)) >= 0) unidades[i] = s; // no overflow
            else somas[i] = somas[i].add(v);
        }
    }

    public long linhas() {
        return linhas;
    }

    /** The sum of column i, or null when the column is not totalled. */
    public BigDecimal soma(int i) {
        if (somas[i] == null) return null;
        return escala[i] == SEM_ESCALA ? somas[i] : somas[i].add(BigDecimal.valueOf(unidades[i], escala[i]));
    }

    public void zerar() {
        linhas = 0;
        for (int i = 0; i < somas.length; i++)
            if (somas[i] != null) somas[i] = BigDecimal.ZERO;
        Arrays.fill(unidades, 0);
        Arrays.fill(escala, SEM_ESCALA);
    }

    private static final double[] POTENCIAS = {1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9, 1e10, 1e11, 1e12,
        1e13, 1e14, 1e15};

    /**
     * The unscaled value of {@code v} when it has at most 15 digits and a scale of 0 to 15, else
     * Long.MIN_VALUE. Read through doubleValue(), which for such a value divides two exact doubles
     * and allocates nothing: multiplied back and rounded it is exact, the error staying below 0.25.
     */
    public static long unidades(BigDecimal v) {
        final int escala = v.scale();
        if (escala < 0 || escala >= POTENCIAS.length || v.precision() > 15) return Long.MIN_VALUE;
        return Math.round(v.doubleValue() * POTENCIAS[escala]);
    }

    @Override
    public String toString() {
        final BigDecimal[] s = new BigDecimal[somas.length];
        for (int i = 0; i < s.length; i++) s[i] = soma(i);
        return linhas + " " + Arrays.toString(s);
    }
}

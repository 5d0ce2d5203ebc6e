package visualizador.saida;

import java.math.BigDecimal;
import java.util.Arrays;
import java.util.List;
import visualizador.design.Coluna;

/** Line count and the sums of the total columns (null for the other columns). */
public final class Totais {
    private final BigDecimal[] somas;
    private long linhas;

    public Totais(List<Coluna> colunas) {
        somas = new BigDecimal[colunas.size()];
        for (int i = 0; i < somas.length; i++)
            if (colunas.get(i).total()) somas[i] = BigDecimal.ZERO;
    }

    public void somar(Object[] valores) {
        linhas++;
        for (int i = 0; i < somas.length; i++)
            if (somas[i] != null && valores[i] instanceof BigDecimal v) somas[i] = somas[i].add(v);
    }

    public long linhas() {
        return linhas;
    }

    /** The sum of column i, or null when the column is not totalled. */
    public BigDecimal soma(int i) {
        return somas[i];
    }

    public void zerar() {
        linhas = 0;
        for (int i = 0; i < somas.length; i++)
            if (somas[i] != null) somas[i] = BigDecimal.ZERO;
    }

    @Override
    public String toString() {
        return linhas + " " + Arrays.toString(somas);
    }
}

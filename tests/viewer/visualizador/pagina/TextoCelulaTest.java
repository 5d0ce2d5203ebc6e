package visualizador.pagina;

import static org.junit.jupiter.api.Assertions.assertEquals;

import java.math.BigDecimal;
import java.time.LocalDate;
import java.util.List;
import java.util.Random;
import org.junit.jupiter.api.Test;
import org.junit.jupiter.params.ParameterizedTest;
import org.junit.jupiter.params.provider.CsvSource;
import visualizador.design.Alinhamento;
import visualizador.design.Coluna;
import visualizador.design.TipoColuna;

/** The PDF's own cell formatting must print exactly what Formatos prints everywhere else. */
class TextoCelulaTest {
    private static Coluna coluna(TipoColuna tipo, int casas) {
        return new Coluna("t", "c", null, "", tipo, 50, Alinhamento.DIREITA, casas, false);
    }

    @ParameterizedTest(name = "{0} com {1} casas")
    @CsvSource({"0, 2", "-0, 2", "-0.001, 2", "-0.005, 3", "0.005, 2", "1234.565, 2", "-1234.565, 2", "999.9995, 3",
        "999999.5, 0", "1000, 0", "-1000000, 3", "12.5, 4", "922337203685477.58, 2", "123456789012345678901234.5, 2",
        "1e-30, 2", "7, 0", "100100.001, 3"})
    void numerosComoFormatos(String valor, int casas) {
        final BigDecimal v = new BigDecimal(valor);
        assertEquals(Formatos.numero(v, casas), new TextoCelula().numero(v, casas).toString());
    }

    /** Sums kept in whole units must equal BigDecimal's, also past 15 digits and across scales. */
    @Test
    void totaisComoBigDecimal() {
        final Coluna c = new Coluna("t", "c", null, "", TipoColuna.NUMERO, 50, Alinhamento.DIREITA, 2, true);
        final Totais t = new Totais(List.of(c));
        final Random r = new Random(7);
        BigDecimal esperado = BigDecimal.ZERO;
        for (int i = 0; i < 20_000; i++) {
            final BigDecimal v = i % 1000 == 999 ? new BigDecimal("922337203685477580.75")
                    : BigDecimal.valueOf(r.nextLong() >> r.nextInt(10, 63), i % 500 == 0 ? 3 : 2);
            esperado = esperado.add(v);
            t.somar(new Object[] {v});
            if (v.precision() <= 15) assertEquals(v.unscaledValue().longValue(), Totais.unidades(v), v::toString);
        }
        assertEquals(0, esperado.compareTo(t.soma(0)), t::toString);
    }

    @Test
    void valoresAoAcasoComoFormatos() {
        final TextoCelula c = new TextoCelula();
        final Random r = new Random(42);
        for (int i = 0; i < 20_000; i++) {
            final int casas = r.nextInt(4);
            final BigDecimal v = BigDecimal.valueOf(r.nextLong() >> r.nextInt(63), r.nextInt(6));
            assertEquals(Formatos.numero(v, casas), c.numero(v, casas).toString(), v + " " + casas);
            final LocalDate d = LocalDate.ofEpochDay(r.nextInt(4_000_000) - 1_000_000);
            assertEquals(Formatos.texto(coluna(TipoColuna.DATA, 0), d), c.texto(coluna(TipoColuna.DATA, 0), d).toString());
            final long n = r.nextLong() >> r.nextInt(63);
            assertEquals(Formatos.texto(coluna(TipoColuna.INTEIRO, 0), n),
                    c.texto(coluna(TipoColuna.INTEIRO, 0), n).toString());
        }
    }
}

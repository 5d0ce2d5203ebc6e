package visualizador.pagina;

import java.math.BigDecimal;
import java.math.RoundingMode;
import java.time.LocalDate;
import visualizador.design.Coluna;

/**
 * A cell's text exactly as {@link Formatos#texto} writes it, into one reused buffer: the common
 * numbers and dates are written digit by digit, since a formatter per cell would cost more than
 * laying out the whole line. Anything out of the common range goes through {@link Formatos}.
 */
final class TextoCelula {
    private final StringBuilder s = new StringBuilder(64);

    /** The text of {@code valor}; valid until the next call. */
    CharSequence texto(Coluna coluna, Object valor) {
        if (valor == null) return "";
        return switch (coluna.tipo()) {
            case TEXTO -> valor.toString();
            case INTEIRO -> valor instanceof Long n ? inteiro(n) : valor.toString();
            case NUMERO -> numero((BigDecimal) valor, coluna.casas());
            case DATA -> data((LocalDate) valor);
        };
    }

    private CharSequence inteiro(long n) {
        s.setLength(0);
        return s.append(n);
    }

    /** "-1.234,50": grouped by thousands, {@code casas} decimals rounded half up, as Formatos does. */
    CharSequence numero(BigDecimal v, int casas) {
        final BigDecimal r = v.setScale(casas, RoundingMode.HALF_UP);
        if (r.precision() > 18 || casas > 18) return Formatos.numero(v, casas);
        final long exato = Totais.unidades(r);
        long u = Math.abs(exato != Long.MIN_VALUE ? exato : r.unscaledValue().longValue());
        s.setLength(0);
        if (v.signum() < 0) s.append('-'); // also "-0,00", as DecimalFormat prints a tiny negative
        long divisor = 1;
        for (int i = 0; i < casas; i++) divisor *= 10;
        agrupado(u / divisor);
        if (casas > 0) {
            s.append(',');
            final int inicio = s.length();
            final long fracao = u % divisor;
            s.append(fracao);
            while (s.length() - inicio < casas) s.insert(inicio, '0');
        }
        return s;
    }

    private void agrupado(long n) {
        if (n >= 1000) {
            agrupado(n / 1000);
            s.append('.');
            final long resto = n % 1000;
            if (resto < 100) s.append('0');
            if (resto < 10) s.append('0');
            s.append(resto);
        } else {
            s.append(n);
        }
    }

    private CharSequence data(LocalDate d) {
        final int ano = d.getYear();
        if (ano < 1 || ano > 9999) return Formatos.data(d);
        s.setLength(0);
        dois(d.getDayOfMonth());
        s.append('/');
        dois(d.getMonthValue());
        s.append('/');
        if (ano < 1000) s.append('0');
        if (ano < 100) s.append('0');
        if (ano < 10) s.append('0');
        return s.append(ano);
    }

    private void dois(int n) {
        if (n < 10) s.append('0');
        s.append(n);
    }
}

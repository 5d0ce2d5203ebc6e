package visualizador.formatos;

import java.io.IOException;
import java.math.BigDecimal;
import java.nio.file.Path;
import java.time.LocalDate;
import java.time.LocalDateTime;
import java.util.List;
import visualizador.BancoTeste;
import visualizador.ErroRelatorio;
import visualizador.dados.Progresso;
import visualizador.design.Coluna;
import visualizador.pagina.Cabecalho;
import visualizador.pagina.Destino;
import visualizador.pagina.Formatos;
import visualizador.pagina.Totais;

/** A report of made-up lines in the real design's columns, without a database. */
public final class PdfSintetico {
    private PdfSintetico() {}

    public static List<Coluna> colunas() throws ErroRelatorio {
        return BancoTeste.design().colunas();
    }

    /** The position of the design's column for {@code campo}. */
    public static int coluna(String campo) throws ErroRelatorio {
        final List<Coluna> c = colunas();
        for (int i = 0; i < c.size(); i++)
            if (c.get(i).campo().equals(campo)) return i;
        throw new IllegalArgumentException(campo);
    }

    public static Cabecalho cabecalho() throws ErroRelatorio {
        return cabecalho(List.of(Formatos.SEM_FILTROS), false);
    }

    /** Grouped by address, as the report's default. */
    public static Cabecalho cabecalho(List<String> filtros, boolean somenteTotais) throws ErroRelatorio {
        return new Cabecalho("Relação de Produtos por Endereço", filtros, "Depósito", "Data (mais antiga primeiro)",
                LocalDateTime.of(2024, 5, 17, 9, 30), colunas(), somenteTotais, List.of("end_cod", "end_des"));
    }

    /** {@code linhas} lines in groups of {@code porGrupo}; the PDF is saved at {@code arquivo}. */
    public static void gerar(Path arquivo, long linhas, int porGrupo, Progresso progresso)
            throws IOException, ErroRelatorio {
        try (DestinoPdf d = new DestinoPdf(arquivo, progresso)) {
            escrever(d, linhas, porGrupo, (i, v) -> {});
        }
    }

    /** Line {@code i}'s values, as {@link #escrever} is about to write them; may change them. */
    @FunctionalInterface
    public interface Ajuste {
        void ajustar(long i, Object[] valores) throws IOException, ErroRelatorio;
    }

    /** The whole report into {@code d}, without closing it; {@code ajuste} sees each line first. */
    public static void escrever(Destino d, long linhas, int porGrupo, Ajuste ajuste) throws IOException, ErroRelatorio {
        final Cabecalho c = cabecalho();
        final Totais geral = new Totais(c.colunas());
        final Totais grupo = new Totais(c.colunas());
        final Object[] v = new Object[c.colunas().size()];
        d.inicio(c);
        String titulo = null;
        for (long i = 0; i < linhas; i++) {
            if (i % porGrupo == 0) {
                if (titulo != null) d.fimGrupo(titulo, grupo);
                grupo.zerar();
                titulo = "Endereço: " + (i / porGrupo + 1) + " - CORREDOR 03 - PRATELEIRA B - NÍVEL 2";
                d.inicioGrupo(titulo);
            }
            preencher(c.colunas(), v, i, titulo);
            ajuste.ajustar(i, v);
            geral.somar(v);
            grupo.somar(v);
            d.linha(v);
        }
        if (titulo != null) d.fimGrupo(titulo, grupo);
        d.fim(geral);
    }

    // Values like the demo data's, by the design's field names: long addresses, short units.
    private static void preencher(List<Coluna> colunas, Object[] v, long i, String grupo) {
        for (int k = 0; k < v.length; k++) {
            final Coluna c = colunas.get(k);
            v[k] = switch (c.campo()) {
                case "end_cod" -> grupo.substring(10);
                case "emp_cod" -> i % 2 == 0 ? "1 - SUPERMERCADO BOA VISTA LTDA" : "2 - BOA VISTA ATACADO";
                case "prodes" -> DESCRICOES[(int) (i % DESCRICOES.length)];
                case "proref" -> "REF-00" + (1000 + i % 9000);
                case "proun" -> "PCT";
                case "marcasdes" -> "TIO JOÃO";
                default -> switch (c.tipo()) {
                    case TEXTO -> "TEXTO " + i;
                    case INTEIRO -> i % 9973 + 1;
                    case NUMERO -> BigDecimal.valueOf(i % 100_000 + 17, c.casas());
                    case DATA -> LocalDate.of(2010, 1, 1).plusDays(i % 5000);
                };
            };
        }
    }

    private static final String[] DESCRICOES = {"FEIJÃO PRETO TRADICIONAL TIO JOÃO 1KG",
        "AÇÚCAR CRISTAL ÚNICO 5KG", "ARROZ PARBOILIZADO PREMIUM TIO JOÃO 5KG EMBALAGEM ECONÔMICA",
        "CAFÉ TORRADO E MOÍDO 500G", "ÓLEO DE SOJA 900ML"};
}
